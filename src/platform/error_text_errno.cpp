// Error texts where file calls report errno values: POSIX systems, and the web page's files,
// which use the same numbers.
#include <cerrno>
#include <cstring>

#include "platform/file_system.h"

namespace combogen {

std::string SystemErrorText(int32_t code) { return std::strerror(code); }

std::string InOutErrorMessage(int32_t code) {
    switch (code) {
        case ENOENT: return "File not found";
        case ENAMETOOLONG: return "Invalid filename";
        case EMFILE:
        case ENFILE: return "Too many open files";
        case EACCES:
        case EPERM:
        case EROFS: return "File access denied";
        case ENOSPC:
        case EDQUOT: return "Disk full";
        default: return "I/O error " + std::to_string(code);
    }
}

}  // namespace combogen
