// File access on Windows. Error codes are GetLastError values.
#include <windows.h>

#include "platform/file_system.h"

namespace combogen {

namespace {

HANDLE AsHandle(FileHandle handle) { return reinterpret_cast<HANDLE>(handle); }

int32_t OpenFile(const std::string& name, DWORD access, DWORD disposition, FileHandle& handle) {
    const HANDLE opened = CreateFileA(name.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return static_cast<int32_t>(GetLastError());
    handle = reinterpret_cast<FileHandle>(opened);
    return 0;
}

// The identity of a regular file: its volume's serial number and its index there.
bool RegularFileIdentity(const std::string& name, BY_HANDLE_FILE_INFORMATION& info) {
    // No access asked for: only the file's information is read, whoever has the file open.
    const HANDLE opened =
        CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileType(opened) == FILE_TYPE_DISK &&
                       GetFileInformationByHandle(opened, &info) &&
                       (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    CloseHandle(opened);
    return known;
}

}  // namespace

int32_t CreateFileForWriting(const std::string& name, FileHandle& handle) {
    return OpenFile(name, GENERIC_WRITE, CREATE_ALWAYS, handle);
}

int32_t OpenFileForReading(const std::string& name, FileHandle& handle) {
    return OpenFile(name, GENERIC_READ, OPEN_EXISTING, handle);
}

bool IsCharacterDevice(FileHandle handle) {
    return GetFileType(AsHandle(handle)) == FILE_TYPE_CHAR;
}

int32_t WriteToFile(FileHandle handle, const char* data, std::size_t size) {
    // A pipe or a console may take part of a block: go on with the rest.
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(AsHandle(handle), data, static_cast<DWORD>(size), &written, nullptr)) {
            return static_cast<int32_t>(GetLastError());
        }
        // Success without progress counts as complete rather than as a reason to spin.
        if (written == 0) return 0;
        data += written;
        size -= written;
    }
    return 0;
}

int32_t ReadFromFile(FileHandle handle, char* data, std::size_t capacity, std::size_t& count) {
    DWORD got = 0;
    count = 0;
    if (!ReadFile(AsHandle(handle), data, static_cast<DWORD>(capacity), &got, nullptr)) {
        const DWORD code = GetLastError();
        return code == ERROR_BROKEN_PIPE ? 0 : static_cast<int32_t>(code);
    }
    count = got;
    return 0;
}

int32_t CloseFile(FileHandle handle) {
    return CloseHandle(AsHandle(handle)) ? 0 : static_cast<int32_t>(GetLastError());
}

bool SameRegularFile(const std::string& first, const std::string& second) {
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    return RegularFileIdentity(first, a) && RegularFileIdentity(second, b) &&
           a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

std::string SystemErrorText(int32_t code) {
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
    // The system's text ends with a full stop and a line end; a message goes on after it.
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                          text[length - 1] == '.' || text[length - 1] == ' ')) {
        --length;
    }
    if (length == 0) return "error " + std::to_string(code);
    return std::string(text, length);
}

int32_t WriteFileWhole(const std::string& name, std::span<const uint8_t> bytes) {
    const std::string temporary = name + ".tmp" + std::to_string(GetCurrentProcessId());
    const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return static_cast<int32_t>(GetLastError());
    int32_t code = WriteToFile(reinterpret_cast<FileHandle>(file),
                               reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (code == 0 && !FlushFileBuffers(file)) code = static_cast<int32_t>(GetLastError());
    if (!CloseHandle(file) && code == 0) code = static_cast<int32_t>(GetLastError());
    if (code == 0 && !MoveFileExA(temporary.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        code = static_cast<int32_t>(GetLastError());
    }
    if (code != 0) DeleteFileA(temporary.c_str());
    return code;
}

int32_t RemoveFile(const std::string& name) {
    return DeleteFileA(name.c_str()) ? 0 : static_cast<int32_t>(GetLastError());
}

std::string InOutErrorMessage(int32_t code) {
    switch (code) {
        case 2: return "File not found";
        case 3: return "Invalid filename";
        case 4: return "Too many open files";
        case 5: return "File access denied";
        case 100: return "Read beyond end of file";
        case 101: return "Disk full";
        case 106: return "Invalid numeric input";
        default: return "I/O error " + std::to_string(code);
    }
}

}  // namespace combogen
