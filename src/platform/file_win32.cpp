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

// The identity of an existing folder, for names not there yet.
bool FolderIdentity(const std::string& name, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE opened =
        CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(opened, &info) &&
                       (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    CloseHandle(opened);
    return known;
}

bool SameIdentity(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

// The full name, split after its last folder separator.
bool SplitFullName(const std::string& name, std::string& folder, std::string& finalName) {
    char full[MAX_PATH * 4];
    char* last = nullptr;
    const DWORD length = GetFullPathNameA(name.c_str(), sizeof full, full, &last);
    if (length == 0 || length >= sizeof full || last == nullptr) return false;
    finalName = last;
    folder.assign(full, static_cast<std::size_t>(last - full));
    return !finalName.empty();
}

// A symbolic link's target, by the name the system gives the file the link leads to.
std::string FinalName(const std::string& name) {
    const HANDLE opened =
        CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return name;
    char full[MAX_PATH * 4];
    const DWORD length = GetFinalPathNameByHandleA(opened, full, sizeof full, 0);
    CloseHandle(opened);
    return length == 0 || length >= sizeof full ? name : std::string(full, length);
}

bool Exists(const std::string& name) {
    return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
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
    return RegularFileIdentity(first, a) && RegularFileIdentity(second, b) && SameIdentity(a, b);
}

bool SameFileOrNewName(const std::string& first, const std::string& second) {
    if (Exists(first) || Exists(second)) return SameRegularFile(first, second);
    // Neither is there yet: one folder by identity and one final name, in the system's
    // case-insensitive comparison.
    std::string folderA, nameA, folderB, nameB;
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    return SplitFullName(first, folderA, nameA) && SplitFullName(second, folderB, nameB) &&
           lstrcmpiA(nameA.c_str(), nameB.c_str()) == 0 && FolderIdentity(folderA, a) &&
           FolderIdentity(folderB, b) && SameIdentity(a, b);
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

int32_t StageFile(const std::string& name, std::span<const uint8_t> bytes, StagedFile& staged) {
    staged.target = FinalName(name);
    BY_HANDLE_FILE_INFORMATION info{};
    if (Exists(staged.target) && !RegularFileIdentity(staged.target, info)) return NotRegularFile;
    std::string folder, finalName;
    if (!SplitFullName(staged.target, folder, finalName)) folder.clear();
    // A short name of its own: the target's name may already be as long as the system allows.
    const std::string temporary =
        folder + "combogen-" + std::to_string(GetCurrentProcessId()) + ".tmp";
    const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return static_cast<int32_t>(GetLastError());
    staged.temporary = temporary;
    int32_t code = WriteToFile(reinterpret_cast<FileHandle>(file),
                               reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (code == 0 && !FlushFileBuffers(file)) code = static_cast<int32_t>(GetLastError());
    if (!CloseHandle(file) && code == 0) code = static_cast<int32_t>(GetLastError());
    if (code != 0) DiscardFile(staged);
    return code;
}

int32_t CommitFile(StagedFile& staged) {
    if (!MoveFileExA(staged.temporary.c_str(), staged.target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const auto code = static_cast<int32_t>(GetLastError());
        DiscardFile(staged);
        return code;
    }
    staged.temporary.clear();
    return 0;
}

void DiscardFile(StagedFile& staged) {
    if (!staged.temporary.empty()) DeleteFileA(staged.temporary.c_str());
    staged.temporary.clear();
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
