list(APPEND DKSR_SOURCES
  reconcile/clsExclude.cpp
  reconcile/clsInclude.cpp
  reconcile/clsReconciler.cpp
  reconcile/colExclude.cpp
  reconcile/colInclude.cpp
)
list(APPEND DKSR_TESTS
  reconcile/clsReconciler_test.cpp
  reconcile/colExclude_test.cpp
  reconcile/colInclude_test.cpp
)
