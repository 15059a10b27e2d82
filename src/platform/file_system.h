// The operating system's file calls, as thin as the platform allows. Each returns 0 or the
// platform's error code for the failed call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace combogen {

using FileHandle = std::intptr_t;

// Creates or truncates name for writing; others may read it meanwhile.
int32_t CreateFileForWriting(const std::string& name, FileHandle& handle);

// Opens name for reading; others may read but not write it meanwhile (where the platform can
// say so).
int32_t OpenFileForReading(const std::string& name, FileHandle& handle);

// A console, a terminal, /dev/null and the like.
bool IsCharacterDevice(FileHandle handle);

// Hands over all size bytes, however many calls that takes.
int32_t WriteToFile(FileHandle handle, const char* data, std::size_t size);

// Reads at most capacity bytes; count 0 means the end of the file. A broken pipe counts as
// the end of the file.
int32_t ReadFromFile(FileHandle handle, char* data, std::size_t capacity, std::size_t& count);

int32_t CloseFile(FileHandle handle);

// True when both names lead to one existing regular file, however each is spelt: other paths,
// symbolic or hard links. Devices and pipes are never the same file here: creating one for
// writing empties nothing.
bool SameRegularFile(const std::string& first, const std::string& second);

// The text a failed file operation's code is reported with.
std::string InOutErrorMessage(int32_t code);

// The system's own description of an error code, for messages meant for people.
std::string SystemErrorText(int32_t code);

// Writes bytes to name, readable by the owner only where the system has such a mode, complete
// or not at all: a file of its own is written first and then renamed over name.
int32_t WriteFileWhole(const std::string& name, std::span<const uint8_t> bytes);

int32_t RemoveFile(const std::string& name);

}  // namespace combogen
