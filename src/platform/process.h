// The process around a run: start-up, the executable's identity, standard error and the end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace combogen {

// Makes a file-size limit an ordinary failed write instead of a kill by signal, and keeps the
// files the run opens off the standard streams' places.
void PrepareProcess();

// The arguments after the program's name: the vector the system handed over, or the
// command line the system keeps, cut into arguments.
std::vector<std::string> CommandLineArguments(int argc, char* argv[]);

// Gives the system's last-chance handling a say over a failure raised at location, before
// the report. Returns when the report is to be written; otherwise the system ends the
// process its own way. Without such handling it just returns.
void OfferFailureToSystem(const void* location);

// Converts the report, in place, to the code page of the console (where the system has one).
void ConvertForConsole(std::string& text);

// The file name (without folders) of the executable module holding address; fallback when
// the system cannot tell.
std::string ModuleNameOf(const void* address, std::string_view fallback);

// The load address of the module holding address, or 0.
std::uintptr_t ModuleBaseOf(const void* address);

// Writes to the standard error stream; the result is ignored.
void WriteStandardError(std::string_view text);

// Writes to the standard output stream: 0, or the system's code for the failed write (for
// SystemErrorText).
int32_t WriteStandardOutput(std::string_view text);

// Ends the process at once: open files are neither flushed nor closed.
[[noreturn]] void EndProcess(int status);

}  // namespace combogen
