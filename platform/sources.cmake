list(APPEND DKSR_SOURCES
  platform/Failure.cpp
  platform/Text.cpp
  platform/Variant.cpp
)
list(APPEND DKSR_TESTS
  platform/Text_test.cpp
  platform/Variant_test.cpp
)
