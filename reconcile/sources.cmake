list(APPEND DKSR_SOURCES
  reconcile/clsInclude.cpp
)
list(APPEND DKSR_TESTS
)
