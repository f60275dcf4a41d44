list(APPEND DKSR_SOURCES
  reconcile/clsExclude.cpp
  reconcile/colExclude.cpp
)
list(APPEND DKSR_TESTS
  reconcile/colExclude_test.cpp
)
