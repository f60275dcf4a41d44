list(APPEND DKSR_SOURCES
  protocol/ListDocumentsRequest.cpp
  protocol/QueuedAction.cpp
  protocol/RequestBuilder.cpp
  protocol/clsAction.cpp
  protocol/clsDelete.cpp
  protocol/clsDocket.cpp
  protocol/clsMove.cpp
  protocol/clsSave.cpp
  protocol/clsUpdate.cpp
)
list(APPEND DKSR_TESTS
  protocol/QueuedAction_test.cpp
  protocol/Requests_test.cpp
  protocol/clsDocket_test.cpp
)
