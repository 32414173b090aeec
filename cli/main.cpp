#include <cstdio>

#include "cli/command_line.h"

int main(int argc, char** argv) {
  return quorvel::RunCommandLine(argc, argv, stdout);
}
