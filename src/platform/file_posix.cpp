// File access on POSIX systems. Error codes are errno values.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/file_system.h"

namespace combogen {

namespace {

std::string FolderOf(const std::string& name) {
    const std::size_t slash = name.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : name.substr(0, slash);
}

// The name at the end of name's chain of symbolic links: what creating name would create.
// A loop ends after as many links as the system itself follows.
std::string FollowLinks(std::string name) {
    for (int hop = 0; hop < 40; ++hop) {
        char target[PATH_MAX];
        const ssize_t length = readlink(name.c_str(), target, sizeof target);
        if (length <= 0 || static_cast<std::size_t>(length) == sizeof target) break;
        const std::string link(target, static_cast<std::size_t>(length));
        name = link[0] == '/' ? link : FolderOf(name) + "/" + link;
    }
    return name;
}

// What writing a name reaches: an existing regular file, or a final name in an existing
// folder; anything else (a device, a pipe, a name in a missing folder) compares with nothing.
struct Destination {
    bool comparable = false;
    bool exists = false;
    dev_t device = 0;
    ino_t node = 0;
    std::string finalName;  // for a name not there yet

    bool operator==(const Destination&) const = default;
};

Destination DestinationOf(const std::string& name) {
    const std::string target = FollowLinks(name);
    Destination destination;
    struct stat status {};
    if (stat(target.c_str(), &status) == 0) {
        if (!S_ISREG(status.st_mode)) return destination;
        destination.exists = true;
    } else {
        destination.finalName = target.substr(target.find_last_of('/') + 1);
        if (errno != ENOENT || destination.finalName.empty() || destination.finalName == "." ||
            destination.finalName == ".." || stat(FolderOf(target).c_str(), &status) != 0 ||
            !S_ISDIR(status.st_mode)) {
            return {};
        }
    }
    destination.comparable = true;
    destination.device = status.st_dev;
    destination.node = status.st_ino;
    return destination;
}

}  // namespace

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

bool SameFileOrNewName(const std::string& first, const std::string& second) {
    const Destination a = DestinationOf(first);
    return a.comparable && a == DestinationOf(second);
}

int32_t StageFile(const std::string& name, std::span<const uint8_t> bytes, StagedFile& staged) {
    staged.target = FollowLinks(name);
    struct stat status {};
    if (stat(staged.target.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        return NotRegularFile;
    }
    // A short name of its own: the target's name may already be as long as the system allows.
    staged.temporary = FolderOf(staged.target) + "/.combogen-XXXXXX";
    const int fd = mkstemp(staged.temporary.data());  // mode 0600
    if (fd < 0) {
        staged.temporary.clear();
        return errno;
    }
    int32_t code = WriteToFile(fd, reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (code == 0 && fsync(fd) != 0) code = errno;
    if (close(fd) != 0 && code == 0) code = errno;
    if (code != 0) DiscardFile(staged);
    return code;
}

int32_t CommitFile(StagedFile& staged) {
    const int32_t code = rename(staged.temporary.c_str(), staged.target.c_str()) == 0 ? 0 : errno;
    if (code == 0) {
        staged.temporary.clear();
    } else {
        DiscardFile(staged);
    }
    return code;
}

void DiscardFile(StagedFile& staged) {
    if (!staged.temporary.empty()) unlink(staged.temporary.c_str());
    staged.temporary.clear();
}

int32_t RemoveFile(const std::string& name) { return unlink(name.c_str()) == 0 ? 0 : errno; }

}  // namespace combogen
