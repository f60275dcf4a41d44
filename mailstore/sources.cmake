list(APPEND DKSR_SOURCES
  mailstore/PathText.cpp
  mailstore/WriteRules.cpp
  mailstore/clsEmail.cpp
  mailstore/clsFolder.cpp
  mailstore/clsItem.cpp
  mailstore/clsMailItem.cpp
  mailstore/colEmail.cpp
  mailstore/colItem.cpp
)
list(APPEND DKSR_TESTS
  mailstore/clsEmail_test.cpp
  mailstore/clsFolder_test.cpp
  mailstore/clsItem_test.cpp
)
