# automation/: the object model served on the session bus.
list(APPEND DKSR_SOURCES
  automation/BusServer.cpp
  automation/BusValue.cpp
  automation/Descriptions.cpp
  automation/ObjectTable.cpp
  automation/ServiceFile.cpp)
list(APPEND DKSR_TESTS
  automation/ServiceFile_test.cpp
)
