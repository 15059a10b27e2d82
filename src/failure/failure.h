// The failures a run can raise. Nothing inside a run catches them: they end it with the
// failure report.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace combogen {

class Exception : public std::exception {
public:
    Exception(std::string message, const void* location)
        : Message(std::move(message)), Location(location) {}
    virtual std::string_view KindName() const { return "Exception"; }
    const char* what() const noexcept override { return Message.c_str(); }

    std::string Message;
    const void* Location;  // the code that raised it
};

// A failed file operation; Code is the operating system's error code.
class EInOutError : public Exception {
public:
    EInOutError(int32_t code, const void* location);
    std::string_view KindName() const override { return "EInOutError"; }

    int32_t Code;
};

// Text that does not convert to an integer.
class EConvertError : public Exception {
public:
    using Exception::Exception;
    std::string_view KindName() const override { return "EConvertError"; }
};

// Each records the address it was called from as the failure's location.
[[noreturn]] void RaiseInOutError(int32_t code);
[[noreturn]] void RaiseConvertError(std::string_view text);

}  // namespace combogen
