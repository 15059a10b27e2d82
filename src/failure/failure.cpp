#include "failure/failure.h"

#include "platform/file_system.h"

namespace combogen {

EInOutError::EInOutError(int32_t code, const void* location)
    : Exception(InOutErrorMessage(code), location), Code(code) {}

// Not inlined, so that the return address is the place that raised the failure.
[[noreturn]] __attribute__((noinline)) void RaiseInOutError(int32_t code) {
    throw EInOutError(code, __builtin_return_address(0));
}

[[noreturn]] __attribute__((noinline)) void RaiseConvertError(std::string_view text) {
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value",
                        __builtin_return_address(0));
}

}  // namespace combogen
