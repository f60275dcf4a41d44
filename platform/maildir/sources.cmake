list(APPEND DKSR_SOURCES
  platform/maildir/Directory.cpp
  platform/maildir/HeaderBlock.cpp
  platform/maildir/MaildirApplication.cpp
  platform/maildir/MaildirFolder.cpp
  platform/maildir/MaildirItem.cpp
  platform/maildir/MaildirListing.cpp
  platform/maildir/MaildirNames.cpp
  platform/maildir/MaildirNamespace.cpp
  platform/maildir/MaildirSettings.cpp
  platform/maildir/MaildirStore.cpp
)
list(APPEND DKSR_TESTS
  platform/maildir/HeaderBlock_test.cpp
  platform/maildir/MaildirItem_test.cpp
  platform/maildir/MaildirNames_test.cpp
  platform/maildir/MaildirSettings_test.cpp
  platform/maildir/MaildirStore_test.cpp
)
