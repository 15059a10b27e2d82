// File access on POSIX systems. Error codes are errno values.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_system.h"

namespace combogen {

int32_t CreateFileForWriting(const std::string& name, FileHandle& handle) {
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    handle = fd;
    return 0;
}

int32_t OpenFileForReading(const std::string& name, FileHandle& handle) {
    const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    handle = fd;
    return 0;
}

bool IsCharacterDevice(FileHandle handle) {
    struct stat status {};
    return fstat(static_cast<int>(handle), &status) == 0 && S_ISCHR(status.st_mode);
}

int32_t WriteToFile(FileHandle handle, const char* data, std::size_t size) {
    // A write may take part of a block (a signal, a nearly full disk): go on with the rest.
    while (size > 0) {
        const ssize_t written = write(static_cast<int>(handle), data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

int32_t ReadFromFile(FileHandle handle, char* data, std::size_t capacity, std::size_t& count) {
    for (;;) {
        const ssize_t got = read(static_cast<int>(handle), data, capacity);
        if (got >= 0) {
            count = static_cast<std::size_t>(got);
            return 0;
        }
        if (errno == EINTR) continue;
        count = 0;
        return errno == EPIPE ? 0 : errno;
    }
}

int32_t CloseFile(FileHandle handle) { return close(static_cast<int>(handle)) == 0 ? 0 : errno; }

bool SameRegularFile(const std::string& first, const std::string& second) {
    struct stat a {};
    struct stat b {};
    return stat(first.c_str(), &a) == 0 && stat(second.c_str(), &b) == 0 && S_ISREG(a.st_mode) &&
           S_ISREG(b.st_mode) && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int32_t WriteFileWhole(const std::string& name, std::span<const uint8_t> bytes) {
    std::string temporary = name + ".XXXXXX";
    const int fd = mkstemp(temporary.data());  // mode 0600
    if (fd < 0) return errno;
    int32_t code = WriteToFile(fd, reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (code == 0 && fsync(fd) != 0) code = errno;
    if (close(fd) != 0 && code == 0) code = errno;
    if (code == 0 && rename(temporary.c_str(), name.c_str()) != 0) code = errno;
    if (code != 0) unlink(temporary.c_str());
    return code;
}

int32_t RemoveFile(const std::string& name) { return unlink(name.c_str()) == 0 ? 0 : errno; }

}  // namespace combogen
