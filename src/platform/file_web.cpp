// Files in the browser: the page hands the run its input files as bytes and takes every file
// the run writes, block by block, so that a long output never sits whole in the module's
// memory. The JavaScript side is the `files` object the worker gives the module; error codes
// are the errno values of Emscripten's C library.
#include <emscripten.h>

#include <cerrno>
#include <cstring>

#include "platform/file_system.h"

namespace combogen {

namespace {

// Each returns a handle (0 or more) or a negative error code.
EM_JS(int, web_create_file, (const char* name),
      { return Module.files.create(UTF8ToString(name)); });
EM_JS(int, web_open_file, (const char* name), { return Module.files.open(UTF8ToString(name)); });
// 0 or an error code.
EM_JS(int, web_write_file, (int handle, const char* data, std::size_t size),
      { return Module.files.write(handle, HEAPU8.subarray(data, data + size)); });
// The count of bytes read, or a negative error code.
EM_JS(int, web_read_file, (int handle, char* data, std::size_t capacity),
      { return Module.files.read(handle, HEAPU8.subarray(data, data + capacity)); });
EM_JS(int, web_close_file, (int handle), { return Module.files.close(handle); });
// 0 or an error code.
EM_JS(int, web_write_whole, (const char* name, const uint8_t* data, std::size_t size),
      { return Module.files.writeWhole(UTF8ToString(name), HEAPU8.slice(data, data + size)); });
EM_JS(int, web_file_exists, (const char* name),
      { return Module.files.exists(UTF8ToString(name)); });
EM_JS(int, web_remove_file, (const char* name),
      { return Module.files.remove(UTF8ToString(name)); });

}  // namespace

int32_t CreateFileForWriting(const std::string& name, FileHandle& handle) {
    const int result = web_create_file(name.c_str());
    if (result < 0) return -result;
    handle = result;
    return 0;
}

int32_t OpenFileForReading(const std::string& name, FileHandle& handle) {
    const int result = web_open_file(name.c_str());
    if (result < 0) return -result;
    handle = result;
    return 0;
}

// The page is no terminal: the output always goes in whole blocks.
bool IsCharacterDevice(FileHandle) { return false; }

int32_t WriteToFile(FileHandle handle, const char* data, std::size_t size) {
    return web_write_file(static_cast<int>(handle), data, size);
}

int32_t ReadFromFile(FileHandle handle, char* data, std::size_t capacity, std::size_t& count) {
    const int result = web_read_file(static_cast<int>(handle), data, capacity);
    if (result < 0) {
        count = 0;
        return -result;
    }
    count = static_cast<std::size_t>(result);
    return 0;
}

int32_t CloseFile(FileHandle handle) { return web_close_file(static_cast<int>(handle)); }

// The page's files have no other names than their own.
bool SameRegularFile(const std::string& first, const std::string& second) {
    return first == second && web_file_exists(first.c_str()) != 0;
}

// The page's files are flat names: two names are one file exactly when they are equal.
bool SameFileOrNewName(const std::string& first, const std::string& second) {
    return first == second;
}

// The page receives a file in one piece, so it is whole or not there at all: the bytes wait
// here for the commit.
int32_t StageFile(const std::string& name, std::span<const uint8_t> bytes, StagedFile& staged) {
    staged.target = name;
    staged.bytes.assign(bytes.begin(), bytes.end());
    return 0;
}

int32_t CommitFile(StagedFile& staged) {
    const int32_t code =
        web_write_whole(staged.target.c_str(), staged.bytes.data(), staged.bytes.size());
    staged.bytes.clear();
    return code;
}

void DiscardFile(StagedFile& staged) { staged.bytes.clear(); }

int32_t RemoveFile(const std::string& name) { return web_remove_file(name.c_str()); }

}  // namespace combogen
