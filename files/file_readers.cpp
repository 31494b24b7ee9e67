#include <cstdio>
#include <cstdlib>

#include "files/data_line.h"
#include "files/files.h"

namespace {

// Reads the next line, of any length and with any bytes, without its line
// feed. False at end of file or on a read error.
bool readLine(std::FILE* stream, std::string& out) {
    char* buffer = nullptr;
    std::size_t capacity = 0;
    ssize_t n = getline(&buffer, &capacity, stream);
    if (n < 0) {
        std::free(buffer);
        return false;
    }
    if (n > 0 && buffer[n - 1] == '\n') --n;
    out.assign(buffer, static_cast<std::size_t>(n));
    std::free(buffer);
    return true;
}

// The elements of the next line that holds numbers; false at end of file.
bool nextDataLine(NFile& file, std::vector<Complex>& elements) {
    std::string text;
    while (readLine(file.stream, text)) {
        ++file.lineCount;
        DataLine parsed = parseDataLine(text.data(), text.size());
        if (parsed.bad) std::fprintf(stderr, "Bad data on line %d\n", file.lineCount);
        if (parsed.elements.empty()) continue;
        elements = std::move(parsed.elements);
        return true;
    }
    return false;
}

NRefPtr rowsToMatrix(const std::vector<std::vector<Complex>>& rows) {
    const std::size_t cols = rows.front().size();
    NNum* m = new NNum(static_cast<std::int32_t>(cols), static_cast<std::int32_t>(rows.size()), NNum::Uninit{});
    NRefPtr held(m);
    Complex* out = m->data;
    for (const auto& row : rows)
        for (const Complex& z : row) *out++ = z;
    return held;
}

bool hookIsOpen(int fileNo) { return openFileStream(fileNo) != nullptr; }

NRefPtr hookRead(int /*line*/, int fileNo, bool lineMode) {
    NFile* f = fileSlot(fileNo);
    if (!f || !f->isOpen()) return nullptr;
    return lineMode ? readRow(*f) : readBlock(*f);
}

}  // namespace

NRefPtr readRow(NFile& file) {
    if (!file.stream) return nullptr;
    std::vector<std::vector<Complex>> row(1);
    if (!nextDataLine(file, row[0])) return nullptr;
    return rowsToMatrix(row);
}

NRefPtr readBlock(NFile& file) {
    if (!file.stream) return nullptr;
    std::vector<Complex> elements;
    while (nextDataLine(file, elements)) {
        if (file.pendingRows.empty() || file.pendingRows.front().size() == elements.size()) {
            file.pendingRows.push_back(std::move(elements));
            continue;
        }
        // A line of another width ends the block and starts the next one.
        NRefPtr block = rowsToMatrix(file.pendingRows);
        file.pendingRows.clear();
        file.pendingRows.push_back(std::move(elements));
        return block;
    }
    if (file.pendingRows.empty()) return nullptr;
    NRefPtr block = rowsToMatrix(file.pendingRows);
    file.pendingRows.clear();
    return block;
}

void installFileInputHooks() {
    FileInputHooks hooks;
    hooks.isOpen = hookIsOpen;
    hooks.read = hookRead;
    setFileInputHooks(hooks);
}
