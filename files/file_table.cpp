#include "files/files.h"

namespace {
NFile g_slots[kFileSlotCount];

// The C open mode, from a mode text such as "r", "w+", "ab" or "rt": one of
// r, w, a, then any of "+", "b", "t" at most once each. Anything else (the
// platform's own extensions included) is refused.
bool cleanMode(const std::string& mode, std::string& out) {
    if (mode.empty() || (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a')) return false;
    bool plus = false, binary = false, text = false;
    for (std::size_t i = 1; i < mode.size(); ++i) {
        bool* seen = mode[i] == '+' ? &plus : mode[i] == 'b' ? &binary : mode[i] == 't' ? &text : nullptr;
        if (!seen || *seen) return false;
        *seen = true;
    }
    out = std::string(1, mode[0]) + (plus ? "+" : "") + (binary ? "b" : "");
    return true;
}
}  // namespace

NFile::~NFile() { close(); }

bool NFile::open(const std::string& name, const std::string& mode) {
    close();
    std::string cmode;
    if (!cleanMode(mode, cmode)) return false;
    // A name with a NUL byte would silently open a different file.
    if (name.empty() || name.find('\0') != std::string::npos) return false;
    stream = std::fopen(name.c_str(), cmode.c_str());
    return stream != nullptr;
}

int NFile::close() {
    pendingRows.clear();
    lineCount = 0;
    if (!stream) return -1;
    int r = std::fclose(stream);
    stream = nullptr;
    return r;
}

bool NFile::rewind() {
    if (!stream) return false;
    if (std::fseek(stream, 0, SEEK_SET) != 0) return false;
    std::clearerr(stream);
    pendingRows.clear();
    lineCount = 0;
    return true;
}

NFile* fileSlot(int fileNo) {
    if (fileNo < 0 || fileNo >= kFileSlotCount) return nullptr;
    return &g_slots[fileNo];
}

std::FILE* openFileStream(int fileNo) {
    NFile* f = fileSlot(fileNo);
    return f ? f->stream : nullptr;
}

void closeAllFiles() {
    for (NFile& f : g_slots) f.close();
}
