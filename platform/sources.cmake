list(APPEND DKSR_SOURCES
  platform/Failure.cpp
  platform/Folders.cpp
  platform/InstanceLock.cpp
  platform/PosixFileSystem.cpp
  platform/ProcessFacts.cpp
  platform/Text.cpp
  platform/Variant.cpp
)
list(APPEND DKSR_TESTS
  platform/InstanceLock_test.cpp
  platform/PosixFileSystem_test.cpp
  platform/ProcessFacts_test.cpp
  platform/Text_test.cpp
  platform/Variant_test.cpp
)
