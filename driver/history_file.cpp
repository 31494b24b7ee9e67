#include "driver/history_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/write_all.h"

namespace {

std::string absoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    // Relative paths are not a valid home for state: they would follow the
    // current directory around.
    return value && value[0] == '/' ? value : "";
}

// Creates every missing directory of path, private to the user.
void makeDirectories(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0700);
    mkdir(path.c_str(), 0700);
}

}  // namespace

std::string historyFilePath() {
    std::string state = absoluteEnv("XDG_STATE_HOME");
    if (state.empty()) {
        const std::string home = absoluteEnv("HOME");
        if (home.empty()) return "";
        state = home + "/.local/state";
    }
    return state + "/quarn/history";
}

HistoryFile::HistoryFile(std::string path) : path_(std::move(path)) {
    if (path_.empty()) return;
    std::ifstream in(path_, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        entries_.push_back(line);
        if (entries_.size() > kMaxHistory) entries_.pop_front();
    }
}

bool HistoryFile::add(const std::string& line) {
    if (line.empty() || line.find('\n') != std::string::npos) return false;
    if (!entries_.empty() && entries_.back() == line) return false;
    entries_.push_back(line);
    if (entries_.size() > kMaxHistory) entries_.pop_front();
    save();
    return true;
}

// Written whole to a private temporary file that then replaces the old one,
// so that a session killed while writing leaves the previous history intact.
void HistoryFile::save() const {
    if (path_.empty()) return;
    const std::size_t slash = path_.rfind('/');
    if (slash != std::string::npos && slash > 0) makeDirectories(path_.substr(0, slash));
    const std::string temporary = path_ + ".new";
    std::remove(temporary.c_str());  // a stale one could carry a wider mode
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return;
    std::string text;
    for (const std::string& entry : entries_) text += entry + '\n';
    bool written = writeAll(fd, text);
    written = close(fd) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path_.c_str()) != 0) std::remove(temporary.c_str());
}
