#include "frontend/source_reader.h"

#include <cstdio>
#include <cstring>

#include "platform/codepage.h"

namespace {

// Sources are held with 32-bit positions; anything larger is refused.
constexpr std::size_t kMaxSourceBytes = 0x7FFFFFFF;

// Text-mode reading: a CR directly before an LF is dropped.
void dropCarriageReturns(std::string& bytes) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        bytes[out++] = bytes[i];
    }
    bytes.resize(out);
}

}  // namespace

bool EucFile::openFile(const char* path) {
    text_.clear();
    position_ = 0;
    if (path == nullptr) return false;
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr) return false;
    std::string raw;
    char piece[1024];
    bool ok = true;
    for (;;) {
        std::size_t got = std::fread(piece, 1, sizeof piece, f);
        raw.append(piece, got);
        if (raw.size() > kMaxSourceBytes) {
            ok = false;
            break;
        }
        if (got < sizeof piece) {
            if (std::ferror(f)) ok = false;
            break;
        }
    }
    std::fclose(f);
    dropCarriageReturns(raw);
    if (!ok || raw.empty()) return false;
    // A NUL byte ends the text, as for any C string.
    text_ = sjisToEuc(raw.c_str());
    if (text_.size() > kMaxSourceBytes) {
        text_.clear();
        return false;
    }
    return true;
}

bool EucFile::openText(const char* text) {
    text_.clear();
    position_ = 0;
    if (text == nullptr) return false;
    text_ = sjisToEuc(text);
    if (text_.size() > kMaxSourceBytes) {
        text_.clear();
        return false;
    }
    return true;
}

std::uint32_t EucFile::read(char* destination, int count) {
    if (count < 1) return 0;
    std::uint32_t left = length() - position_;
    std::uint32_t n = static_cast<std::uint32_t>(count) < left ? static_cast<std::uint32_t>(count) : left;
    if (n > 0) std::memcpy(destination, text_.data() + position_, n);
    position_ += n;
    return n;
}

std::unique_ptr<EucFile> makeFileReader(const char* path) {
    auto reader = std::make_unique<EucFile>();
    if (!reader->openFile(path)) return nullptr;
    return reader;
}

std::unique_ptr<EucFile> makeTextReader(const char* text) {
    auto reader = std::make_unique<EucFile>();
    if (!reader->openText(text)) return nullptr;
    return reader;
}
