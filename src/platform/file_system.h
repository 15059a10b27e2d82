// The operating system's file calls, as thin as the platform allows. Each returns 0 or the
// platform's error code for the failed call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

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

// True when writing either name would reach the file the other one names: one existing regular
// file (as SameRegularFile), or, for names not there yet, the same final name in one folder
// (the folder known by identity, a dangling link by its target).
bool SameFileOrNewName(const std::string& first, const std::string& second);

// The text a failed file operation's code is reported with.
std::string InOutErrorMessage(int32_t code);

// The system's own description of an error code, for messages meant for people.
std::string SystemErrorText(int32_t code);

// A file written whole in two steps, so that nothing is replaced until the run commits:
// StageFile writes the bytes, readable by the owner only where the system has such a mode, to
// a file of its own beside name's target (a symbolic link's target, not the link); CommitFile
// then renames it over the target, and DiscardFile removes it.
struct StagedFile {
    std::string temporary;
    std::string target;
    std::vector<uint8_t> bytes;  // kept until the commit where files cannot be renamed
};

// The code StageFile returns for a name that leads to something other than a regular file (a
// device, a pipe, a folder), which a rename would replace.
inline constexpr int32_t NotRegularFile = -1;

int32_t StageFile(const std::string& name, std::span<const uint8_t> bytes, StagedFile& staged);
int32_t CommitFile(StagedFile& staged);
void DiscardFile(StagedFile& staged);

int32_t RemoveFile(const std::string& name);

}  // namespace combogen
