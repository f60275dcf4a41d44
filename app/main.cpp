#include "app/CommandLine.h"

int main(int argc, char** argv) {
  return dks::runCommandLine(argc, argv);
}
