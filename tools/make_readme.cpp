// quorvel_readme: prints readme.txt, the users' list of options, contest keywords and formats,
// from the engine's own tables. The build writes it beside quorvelcon.
#include <cstdio>

#include "cli/help_text.h"

int main() {
  std::fputs(quorvel::ReadmeText().c_str(), stdout);
  return 0;
}
