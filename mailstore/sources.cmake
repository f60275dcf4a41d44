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
  mailstore/clsFolder_test.cpp
)
