list(APPEND DKSR_SOURCES
  reconcile/clsExclude.cpp
)
list(APPEND DKSR_TESTS
)
