// Test helper for Windows: launch_raw [--debug] PROGRAM starts PROGRAM with the command line
// read from standard input, byte for byte, and ends with the program's exit status. (A
// command line built from an argument vector would be quoted on the way.) With --debug it
// attaches as a debugger that handles nothing.
#include <windows.h>

#include <string>
#include <string_view>

namespace {

DWORD WaitAsDebugger() {
    for (;;) {
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, INFINITE)) return 124;
        DWORD answer = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
            case EXCEPTION_DEBUG_EVENT:
                // The first breakpoint is the debugger's own; the rest is the program's.
                if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                    answer = DBG_EXCEPTION_NOT_HANDLED;
                }
                break;
            case CREATE_PROCESS_DEBUG_EVENT: CloseHandle(event.u.CreateProcessInfo.hFile); break;
            case LOAD_DLL_DEBUG_EVENT: CloseHandle(event.u.LoadDll.hFile); break;
            case EXIT_PROCESS_DEBUG_EVENT:
                ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
                return event.u.ExitProcess.dwExitCode;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, answer);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool debug = argc == 3 && std::string_view(argv[1]) == "--debug";
    if (argc != 2 && !debug) return 125;
    const char* program = argv[argc - 1];
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::string line;
    char block[256];
    DWORD got = 0;
    while (ReadFile(input, block, sizeof block, &got, nullptr) && got > 0) line.append(block, got);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    for (const HANDLE handle : {startup.hStdOutput, startup.hStdError}) {
        SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    }
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program, line.data(), nullptr, nullptr, TRUE,
                        debug ? DEBUG_ONLY_THIS_PROCESS : 0, nullptr, nullptr, &startup,
                        &process)) {
        return 126;
    }
    if (debug) return static_cast<int>(WaitAsDebugger());
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 127;
    GetExitCodeProcess(process.hProcess, &status);
    return static_cast<int>(status);
}
