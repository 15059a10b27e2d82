// The web page captures standard error as text: never a terminal.
#include "platform/terminal.h"

namespace combogen {

bool StandardErrorIsTerminal() { return false; }

}  // namespace combogen
