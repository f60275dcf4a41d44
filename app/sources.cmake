list(APPEND DKSR_SOURCES
  app/LogHeader.cpp
  app/RegistryValue.cpp
  app/attempt.cpp
  app/clsApplication.cpp
  app/clsError.cpp
  app/colError.cpp
  app/modApplication.cpp
)
list(APPEND DKSR_TESTS
)
