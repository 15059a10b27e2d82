// The failure report: what a run prints when something fails that no check anticipates.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace combogen {

inline constexpr std::size_t ReportCapacity = 1024;

// "Exception <kind> in module <module> at <offset>.\r\n<message>[.]\r\n", cut after
// ReportCapacity characters. The full stop is added when the message is not empty and does
// not end with one.
std::string FormatReport(std::string_view kindName, std::string_view moduleName,
                         std::uintptr_t offset, std::string_view message);

// Writes the report of failure to standard error, then carriage return and line feed once
// more, and ends the process with status 1.
[[noreturn]] void ReportFailure(std::exception_ptr failure, std::string_view programName);

}  // namespace combogen
