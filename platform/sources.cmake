list(APPEND DKSR_SOURCES
  platform/Failure.cpp
  platform/Folders.cpp
  platform/Hive.cpp
  platform/HiveUtility.cpp
  platform/InstanceLock.cpp
  platform/LinuxPlatform.cpp
  platform/Outlook.cpp
  platform/PosixFileSystem.cpp
  platform/ProcessFacts.cpp
  platform/RegFile.cpp
  platform/Text.cpp
  platform/TimeText.cpp
  platform/Variant.cpp
)
list(APPEND DKSR_TESTS
  platform/Hive_test.cpp
  platform/HiveUtility_test.cpp
  platform/InstanceLock_test.cpp
  platform/PosixFileSystem_test.cpp
  platform/ProcessFacts_test.cpp
  platform/RegFile_test.cpp
  platform/Text_test.cpp
  platform/TimeText_test.cpp
  platform/Variant_test.cpp
  platform/testing/FakeUtility.cpp
)
