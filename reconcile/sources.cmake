list(APPEND DKSR_SOURCES
  reconcile/IncludeListing.cpp
  reconcile/IncludePass.cpp
  reconcile/IncludeTreeWalk.cpp
  reconcile/clsExclude.cpp
  reconcile/clsInclude.cpp
  reconcile/colExclude.cpp
)
list(APPEND DKSR_TESTS
  reconcile/IncludeListing_test.cpp
  reconcile/IncludePass_test.cpp
  reconcile/IncludeTreeWalk_test.cpp
  reconcile/colExclude_test.cpp
)
