list(APPEND DKSR_SOURCES
  reconcile/IncludeListing.cpp
  reconcile/IncludeTreeWalk.cpp
  reconcile/clsInclude.cpp
)
list(APPEND DKSR_TESTS
)
