#include <cstdio>
#include <cstdlib>

#include "files/data_line.h"
#include "files/files.h"
#include "platform/interruptible_read.h"
#include "value/raise.h"

namespace {

// A data line may be long, but one without an end (a device, a damaged
// file) must not take every byte of memory.
constexpr std::size_t kMaxDataLine = std::size_t{64} << 20;

// Reads the next line, with any bytes, without its line feed. False at end
// of file, on a read error, or when Ctrl-C ended the wait (the executor then
// stops the run).
bool readLine(NFile& file, int line, std::string& out) {
    switch (readLineInterruptibly(file.stream, out, kMaxDataLine + 1)) {
        case LineRead::End:
        case LineRead::Interrupted:
            return false;
        case LineRead::Full:
            raiseError(line, "Data line %d is longer than 64 MiB", file.lineCount + 1);
        case LineRead::Line:
            break;
    }
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return true;
}

// The elements of the next line that holds numbers; false at end of file.
bool nextDataLine(NFile& file, int line, std::vector<Complex>& elements) {
    std::string text;
    while (readLine(file, line, text)) {
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

NRefPtr hookRead(int line, int fileNo, bool lineMode) {
    NFile* f = fileSlot(fileNo);
    if (!f || !f->isOpen()) return nullptr;
    return lineMode ? readRow(*f, line) : readBlock(*f, line);
}

}  // namespace

NRefPtr readRow(NFile& file, int line) {
    if (!file.stream) return nullptr;
    std::vector<std::vector<Complex>> row(1);
    if (!nextDataLine(file, line, row[0])) return nullptr;
    return rowsToMatrix(row);
}

NRefPtr readBlock(NFile& file, int line) {
    if (!file.stream) return nullptr;
    std::vector<Complex> elements;
    while (nextDataLine(file, line, elements)) {
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
