list(APPEND DKSR_SOURCES
  reconcile/IncludePass.cpp
  reconcile/clsExclude.cpp
  reconcile/clsInclude.cpp
  reconcile/colExclude.cpp
)
list(APPEND DKSR_TESTS
  reconcile/colExclude_test.cpp
)
