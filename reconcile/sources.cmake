list(APPEND DKSR_SOURCES
  reconcile/clsInclude.cpp
  reconcile/clsReconciler.cpp
  reconcile/colInclude.cpp
)
list(APPEND DKSR_TESTS
)
