#include "cli/run.h"

int main(int argc, char* argv[]) { return combogen::RunFromCommandLine(argc, argv); }
