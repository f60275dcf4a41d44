#include "refserver/RefServerCommand.h"

int main(int argc, char** argv) {
  return dks::runRefServer(argc, argv);
}
