// Terminals on POSIX systems.
#include <unistd.h>

#include "platform/terminal.h"

namespace combogen {

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace combogen
