list(APPEND DKSR_SOURCES
  reconcile/IncludeListing.cpp
  reconcile/IncludePass.cpp
  reconcile/IncludeTreeWalk.cpp
  reconcile/clsExclude.cpp
  reconcile/clsInclude.cpp
  reconcile/clsReconciler.cpp
  reconcile/colExclude.cpp
  reconcile/colInclude.cpp
)
list(APPEND DKSR_TESTS
  reconcile/Convergence_test.cpp
  reconcile/IncludeListing_test.cpp
  reconcile/IncludePass_test.cpp
  reconcile/IncludeTreeWalk_test.cpp
  reconcile/clsReconciler_test.cpp
  reconcile/colExclude_test.cpp
  reconcile/colInclude_test.cpp
)
