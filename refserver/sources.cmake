# Included from the top CMakeLists.txt after the dksr library is defined.
add_library(dksr_refserver STATIC
  refserver/Catalogue.cpp
  refserver/HttpListener.cpp
  refserver/RefServerCommand.cpp
  refserver/ReferenceServer.cpp
  refserver/WireRequest.cpp
)
target_link_libraries(dksr_refserver PUBLIC dksr)

add_executable(dks-refserver refserver/main.cpp)
target_link_libraries(dks-refserver PRIVATE dksr_refserver)

list(APPEND DKSR_TESTS
  refserver/Catalogue_test.cpp
  refserver/HttpListener_test.cpp
  refserver/RefServerCommand_test.cpp
  refserver/ReferenceServer_test.cpp
  refserver/WireRequest_test.cpp
)
