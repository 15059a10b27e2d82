// Consoles on Windows: a handle with a console mode is one.
#include <windows.h>

#include "platform/terminal.h"

namespace combogen {

bool StandardErrorIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void ShowSearchProgress(int64_t, int64_t, double) {}

}  // namespace combogen
