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
# The bus test drives `serve` with a real D-Bus client on a private session bus of its own.
set(DKSR_BUS_TEST automation/bus_test.py)
