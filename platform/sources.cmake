list(APPEND DKSR_SOURCES
  platform/Failure.cpp
  platform/Hive.cpp
  platform/HiveUtility.cpp
  platform/RegFile.cpp
  platform/Text.cpp
  platform/TimeText.cpp
  platform/Variant.cpp
)
list(APPEND DKSR_TESTS
  platform/Hive_test.cpp
  platform/HiveUtility_test.cpp
  platform/RegFile_test.cpp
  platform/TimeText_test.cpp
  platform/Variant_test.cpp
  platform/testing/FakeUtility.cpp
)
