#include "text/text_file.h"

#include <algorithm>
#include <cstring>

#include "failure/failure.h"

namespace combogen {

thread_local int32_t PendingIoError = 0;

namespace {

void Record(int32_t code) {
    if (code != 0) PendingIoError = code;
}

// False when the block was refused; it is discarded either way.
bool HandOver(OutputTextFile& file) {
    const int32_t code = WriteToFile(file.handle, file.buffer.get(), file.used);
    file.used = 0;
    Record(code);
    return code == 0;
}

// The usual case, twice per line: text that fits without filling the buffer is only copied.
// False, with nothing copied, otherwise.
bool AppendShort(OutputTextFile& file, std::string_view text) {
    if (text.size() >= file.capacity - file.used) return false;
    std::memcpy(file.buffer.get() + file.used, text.data(), text.size());
    file.used += text.size();
    return true;
}

// The next byte, or -1 at the end of the file (or after a read error).
int PeekByte(InputTextFile& file) {
    if (file.position == file.length) {
        file.position = file.length = 0;
        Record(ReadFromFile(file.handle, file.buffer.data(), file.buffer.size(), file.length));
        if (file.length == 0) return -1;
    }
    return static_cast<unsigned char>(file.buffer[file.position]);
}

}  // namespace

int32_t TakeIoError() {
    const int32_t code = PendingIoError;
    PendingIoError = 0;
    return code;
}

void CheckIo() {
    if (PendingIoError != 0) RaiseInOutError(TakeIoError());
}

void CreateOutput(OutputTextFile& file, const std::string& name, std::size_t blockSize) {
    file.used = 0;
    if (file.capacity != blockSize) {
        file.buffer = std::make_unique<char[]>(blockSize);
        file.capacity = blockSize;
    }
    const int32_t code = CreateFileForWriting(name, file.handle);
    Record(code);
    if (code == 0) file.characterDevice = IsCharacterDevice(file.handle);
}

void WriteText(OutputTextFile& file, std::string_view text) {
    if (AppendShort(file, text)) return;
    while (!text.empty()) {
        const std::size_t taken = std::min(text.size(), file.capacity - file.used);
        std::memcpy(file.buffer.get() + file.used, text.data(), taken);
        file.used += taken;
        text.remove_prefix(taken);
        if (file.used == file.capacity && !HandOver(file)) return;
    }
}

void WriteLineEnd(OutputTextFile& file) {
    // Tried here first, not only inside WriteText, to keep the call off the per-line path.
    if (!AppendShort(file, "\r\n")) WriteText(file, "\r\n");
    if (file.characterDevice && file.used > 0) HandOver(file);
}

void WriteLineFeed(OutputTextFile& file) {
    if (!AppendShort(file, "\n")) WriteText(file, "\n");
    if (file.characterDevice && file.used > 0) HandOver(file);
}

void CloseOutput(OutputTextFile& file) {
    if (file.used > 0 && !HandOver(file)) return;
    Record(CloseFile(file.handle));
    file.handle = -1;
}

void OpenInput(InputTextFile& file, const std::string& name) {
    file.position = file.length = 0;
    file.lineEnded = false;
    Record(OpenFileForReading(name, file.handle));
}

std::string ReadLine(InputTextFile& file) {
    std::string line;
    for (std::string_view piece; !(piece = ReadLinePiece(file)).empty();) line += piece;
    return line;
}

std::string_view ReadLinePiece(InputTextFile& file) {
    const bool anyEnd = file.anyLineEnd;
    for (int c; (c = PeekByte(file)) >= 0;) {
        if (c == '\n') {
            if (anyEnd) {
                ++file.position;
                file.lineEnded = true;
            }
            break;
        }
        ++file.position;
        if (c == 0x1A && !anyEnd) break;
        if (c == '\r') {
            if (PeekByte(file) == '\n') {
                if (anyEnd) {
                    ++file.position;
                    file.lineEnded = true;
                }
                break;
            }
            if (!anyEnd) continue;  // a lone carriage return is dropped
            file.lineEnded = true;
            break;
        }
        // This byte and those after it in the buffer, up to one that may end the line.
        const char* const start = file.buffer.data() + file.position - 1;
        const char* const end = std::find_if(
            start + 1, static_cast<const char*>(file.buffer.data() + file.length),
            [anyEnd](char b) { return b == '\n' || b == '\r' || (b == 0x1A && !anyEnd); });
        file.position = static_cast<std::size_t>(end - file.buffer.data());
        // Pointer and length: the web build's C++ library lacks the two-pointer form.
        return {start, static_cast<std::size_t>(end - start)};
    }
    return {};
}

void SkipLine(InputTextFile& file) {
    if (file.lineEnded) {
        file.lineEnded = false;
        return;
    }
    for (int c; (c = PeekByte(file)) >= 0;) {
        ++file.position;
        if (c == '\n') break;
    }
}

bool AtEndOfFile(InputTextFile& file) { return PeekByte(file) < 0; }

void CloseInput(InputTextFile& file) {
    Record(CloseFile(file.handle));
    file.handle = -1;
}

bool ReadBoundedLine(InputTextFile& file, std::size_t most, std::string& text) {
    text.clear();
    bool fits = true;
    for (std::string_view piece; !(piece = ReadLinePiece(file)).empty();) {
        if (text.size() + piece.size() > most) fits = false;
        if (fits) text += piece;
    }
    SkipLine(file);
    return fits;
}

}  // namespace combogen
