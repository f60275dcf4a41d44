list(APPEND DKSR_SOURCES
  reconcile/IncludePass.cpp
  reconcile/clsInclude.cpp
)
list(APPEND DKSR_TESTS
)
