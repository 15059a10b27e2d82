// Terminals on POSIX systems.
#include <unistd.h>

#include "platform/terminal.h"

namespace combogen {

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

void ShowSearchProgress(int64_t, int64_t, double) {}

}  // namespace combogen
