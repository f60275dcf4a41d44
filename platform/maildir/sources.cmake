list(APPEND DKSR_SOURCES
  platform/maildir/HeaderBlock.cpp
  platform/maildir/MaildirNames.cpp
)
list(APPEND DKSR_TESTS
  platform/maildir/HeaderBlock_test.cpp
  platform/maildir/MaildirNames_test.cpp
)
