list(APPEND DKSR_SOURCES
  app/CommandLine.cpp
  app/ConfigCommand.cpp
  app/LogHeader.cpp
  app/RegistryValue.cpp
  app/RunReport.cpp
  app/ScanCommand.cpp
  app/StatusCommand.cpp
  app/attempt.cpp
  app/clsApplication.cpp
  app/clsError.cpp
  app/colError.cpp
  app/modApplication.cpp
)
list(APPEND DKSR_TESTS
  app/CommandLine_test.cpp
  app/ConfigCommand_test.cpp
  app/KeyedCollection_test.cpp
  app/RunReport_test.cpp
  app/ScanCommand_test.cpp
  app/StatusCommand_test.cpp
  app/clsApplication_test.cpp
  app/colError_test.cpp
  app/modApplication_test.cpp
)
