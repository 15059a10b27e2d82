// The process around a run: start-up, the executable's identity, standard error and the end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace combogen {

// Makes a file-size limit an ordinary failed write instead of a kill by signal.
void PrepareProcess();

// The file name (without folders) of the executable module holding address; fallback when
// the system cannot tell.
std::string ModuleNameOf(const void* address, std::string_view fallback);

// The load address of the module holding address, or 0.
std::uintptr_t ModuleBaseOf(const void* address);

// Writes to the standard error stream; the result is ignored.
void WriteStandardError(std::string_view text);

// Ends the process at once: open files are neither flushed nor closed.
[[noreturn]] void EndProcess(int status);

}  // namespace combogen
