// Text files with 128-byte buffers, and the pending file-error code. File operations never
// raise: a failure leaves its code in PendingIoError, and the run decides at fixed points
// whether to take it quietly or to raise.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace combogen {

// 0 when no error is pending; a failed operation replaces it with its code.
extern thread_local int32_t PendingIoError;

// Returns PendingIoError and clears it.
int32_t TakeIoError();

// Raises EInOutError if an error is pending, clearing it.
void CheckIo();

inline constexpr std::size_t TextBufferSize = 128;
inline constexpr std::size_t LargestBlockSize = std::size_t{1} << 20;

struct OutputTextFile {
    FileHandle handle = -1;
    bool characterDevice = false;  // then each line is handed over at its line end
    std::unique_ptr<char[]> buffer;
    std::size_t capacity = 0;  // the block size
    std::size_t used = 0;
};

// Creates the file with a buffer of blockSize bytes (TextBufferSize..LargestBlockSize). A
// failure leaves a pending error and the file unopened.
void CreateOutput(OutputTextFile& file, const std::string& name,
                  std::size_t blockSize = TextBufferSize);

// The buffer goes to the operating system the moment it is full. When a hand-over fails, the
// block and the rest of text are discarded.
void WriteText(OutputTextFile& file, std::string_view text);

// Writes carriage return and line feed.
void WriteLineEnd(OutputTextFile& file);

// Writes a line feed alone, for Unix tools.
void WriteLineFeed(OutputTextFile& file);

// A line feed alone when lineFeedOnly (--lf), else carriage return and line feed.
inline void WriteLineEnd(OutputTextFile& file, bool lineFeedOnly) {
    if (lineFeedOnly) {
        WriteLineFeed(file);
    } else {
        WriteLineEnd(file);
    }
}

// Hands over the last partial block, then closes. If that block fails the file stays open.
void CloseOutput(OutputTextFile& file);

struct InputTextFile {
    FileHandle handle = -1;
    std::array<char, TextBufferSize> buffer;
    std::size_t position = 0;
    std::size_t length = 0;
    // Files of numbers that people edit anywhere: LF, CR LF and a lone CR (old Mac files) each
    // end a line, and 0x1A is a byte like any other. Off: the fixed-number file's rules below.
    bool anyLineEnd = false;
    bool lineEnded = false;  // the line end is consumed already; SkipLine has nothing to skip
};

void OpenInput(InputTextFile& file, const std::string& name);

// The bytes up to a line feed, a carriage return and line feed, or an end-of-file character
// (0x1A, consumed). A lone carriage return is dropped (with anyLineEnd: it ends the line, and
// 0x1A is text). A read error ends the line as the end
// of the file does, and stays pending.
std::string ReadLine(InputTextFile& file);

// The next piece of the line that ReadLine would return, straight from the buffer (valid until
// the next call on file); empty once the line has ended, its end consumed as by ReadLine. So a
// line of any length passes through in constant memory.
std::string_view ReadLinePiece(InputTextFile& file);

// Skips past the next line feed, or to the end of the file.
void SkipLine(InputTextFile& file);

// The next line of file into text and its line end skipped; false, with text cut short, where
// the line is longer than most characters.
bool ReadBoundedLine(InputTextFile& file, std::size_t most, std::string& text);

// True when no byte is left.
bool AtEndOfFile(InputTextFile& file);

void CloseInput(InputTextFile& file);

}  // namespace combogen
