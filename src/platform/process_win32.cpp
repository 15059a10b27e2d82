// The process on Windows.
#include <windows.h>

#include "platform/command_line.h"
#include "platform/process.h"

namespace combogen {

namespace {

// The code under which a failure of the run is offered to the system.
constexpr DWORD FailureExceptionCode = 0xE0434247;

LPTOP_LEVEL_EXCEPTION_FILTER PreviousFilter = nullptr;

// The report answers for the run's own failures: without this, the system's default would
// start a debugger or a crash dialog for them. Any other exception goes on as before, and a
// filter installed later (a crash reporter) still sees ours.
LONG WINAPI AnswerForOwnFailures(EXCEPTION_POINTERS* pointers) {
    if (pointers->ExceptionRecord->ExceptionCode == FailureExceptionCode) {
        return EXCEPTION_EXECUTE_HANDLER;
    }
    return PreviousFilter != nullptr ? PreviousFilter(pointers) : EXCEPTION_CONTINUE_SEARCH;
}

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

HMODULE ModuleOf(const void* address) {
    MEMORY_BASIC_INFORMATION region{};
    if (VirtualQuery(address, &region, sizeof region) == 0) return nullptr;
    return static_cast<HMODULE>(region.AllocationBase);
}

}  // namespace

void PrepareProcess() { PreviousFilter = SetUnhandledExceptionFilter(AnswerForOwnFailures); }

std::vector<std::string> CommandLineArguments(int, char*[]) {
    // The C runtime's argument vector follows other quoting rules: cut the line itself.
    return SplitCommandLine(GetCommandLineA(), IsLeadByte);
}

void OfferFailureToSystem(const void* location) {
    if (IsDebuggerPresent()) return;
    EXCEPTION_RECORD record{};
    record.ExceptionCode = FailureExceptionCode;
    record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
    record.ExceptionAddress = const_cast<void*>(location);
    CONTEXT context{};
    RtlCaptureContext(&context);
    EXCEPTION_POINTERS pointers{&record, &context};
    if (UnhandledExceptionFilter(&pointers) != EXCEPTION_CONTINUE_SEARCH) return;
    // A debugger was started for it, or the filter wants the system to decide: raise it for
    // real, and end here should anything let it return.
    RaiseException(FailureExceptionCode, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    TerminateProcess(GetCurrentProcess(), FailureExceptionCode);
}

void ConvertForConsole(std::string& text) { CharToOemA(text.c_str(), text.data()); }

std::string ModuleNameOf(const void* address, std::string_view fallback) {
    char path[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameA(ModuleOf(address), path, MAX_PATH);
    std::string name = length > 0 ? std::string(path, length) : std::string(fallback);
    return name.substr(name.find_last_of('\\') + 1);
}

std::uintptr_t ModuleBaseOf(const void* address) {
    return reinterpret_cast<std::uintptr_t>(ModuleOf(address));
}

void WriteStandardError(std::string_view text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

int32_t WriteStandardOutput(std::string_view text) {
    DWORD written = 0;
    if (!WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
                   &written, nullptr)) {
        return static_cast<int32_t>(GetLastError());
    }
    return written == text.size() ? 0 : static_cast<int32_t>(ERROR_WRITE_FAULT);
}

void EndProcess(int status) { ExitProcess(static_cast<UINT>(status)); }

}  // namespace combogen
