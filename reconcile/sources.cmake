list(APPEND DKSR_SOURCES
  reconcile/clsInclude.cpp
  reconcile/colInclude.cpp
)
list(APPEND DKSR_TESTS
)
