// The source reader: a whole source held in memory, already converted from
// Shift_JIS to EUC-JP, from which the scanner takes its bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class EucFile {
public:
    EucFile() = default;
    EucFile(const EucFile&) = delete;
    EucFile& operator=(const EucFile&) = delete;
    virtual ~EucFile() = default;

    // Loads a file in text mode (CR LF read as LF). Fails, holding nothing,
    // when the file cannot be opened or read whole or is empty.
    bool openFile(const char* path);
    // Takes a program text; null fails, an empty text succeeds.
    bool openText(const char* text);
    // Copies up to count bytes from the current position; 0 at the end.
    std::uint32_t read(char* destination, int count);

    std::uint32_t length() const { return static_cast<std::uint32_t>(text_.size()); }
    std::uint32_t position() const { return position_; }
    const std::string& text() const { return text_; }

private:
    std::string text_;
    std::uint32_t position_ = 0;
};

// Null when the reader could not be made; a null reader reads as end of input.
std::unique_ptr<EucFile> makeFileReader(const char* path);
std::unique_ptr<EucFile> makeTextReader(const char* text);
