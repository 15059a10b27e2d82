// The process on POSIX systems.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/process.h"

namespace combogen {

void PrepareProcess() {
    // A standard descriptor closed at the start would be the first file the run opens, and a
    // report meant for standard error would land in it. Each such slot holds /dev/null, open
    // the other way round, so that using the stream still fails as on a closed descriptor.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int held = open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (held >= 0 && held != fd) {
            dup2(held, fd);
            close(held);
        }
    }
    signal(SIGXFSZ, SIG_IGN);
}

std::vector<std::string> CommandLineArguments(int argc, char* argv[]) {
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

void OfferFailureToSystem(const void*) {}

void ConvertForConsole(std::string&) {}

std::string ModuleNameOf(const void*, std::string_view fallback) {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    std::string name =
        length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string(fallback);
    return name.substr(name.find_last_of('/') + 1);
}

std::uintptr_t ModuleBaseOf(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0) return 0;
    return reinterpret_cast<std::uintptr_t>(info.dli_fbase);
}

void WriteStandardError(std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = write(STDERR_FILENO, text.data(), text.size());
        if (written <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

int32_t WriteStandardOutput(std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = write(STDOUT_FILENO, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        if (written == 0) return EIO;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

void EndProcess(int status) { _exit(status); }

}  // namespace combogen
