list(APPEND DKSR_SOURCES
  app/ConfigCommand.cpp
)
list(APPEND DKSR_TESTS
  app/ConfigCommand_test.cpp
)
