// The process in the browser. The run lives in a Web Worker; standard error goes to the page,
// and the end of a run is the C library's _exit, which Emscripten turns into the status the
// page reads, without tearing the worker down.
#include <emscripten.h>
#include <unistd.h>

#include "platform/process.h"

namespace combogen {

namespace {

EM_JS(void, web_write_error, (const char* data, std::size_t size),
      { Module.standardError(HEAPU8.slice(data, data + size)); });
EM_JS(void, web_write_output, (const char* data, std::size_t size),
      { Module.standardOutput(HEAPU8.slice(data, data + size)); });

}  // namespace

void PrepareProcess() {}

std::vector<std::string> CommandLineArguments(int argc, char* argv[]) {
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

void OfferFailureToSystem(const void*) {}

void ConvertForConsole(std::string&) {}

// The report's offset is the failing code's offset in the WebAssembly module.
std::string ModuleNameOf(const void*, std::string_view) { return "combogen.wasm"; }

std::uintptr_t ModuleBaseOf(const void*) { return 0; }

void WriteStandardError(std::string_view text) { web_write_error(text.data(), text.size()); }

int32_t WriteStandardOutput(std::string_view text) {
    web_write_output(text.data(), text.size());
    return 0;
}

void EndProcess(int status) { _exit(status); }

}  // namespace combogen
