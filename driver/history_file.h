// The lines typed at a terminal, kept between sessions in
// $XDG_STATE_HOME/quarn/history (or ~/.local/state/quarn/history), one
// line per entry, the newest last, at most kMaxHistory entries. A missing
// or unwritable home only means that nothing is kept.
#pragma once

#include <deque>
#include <string>

constexpr std::size_t kMaxHistory = 1000;

// The history file's path, or empty when there is no home for it.
std::string historyFilePath();

class HistoryFile {
public:
    // Reads the entries of path (none when it is empty or unreadable).
    explicit HistoryFile(std::string path);
    const std::deque<std::string>& entries() const { return entries_; }
    // Appends line (unless it repeats the newest entry) and writes the file.
    // False when line was not added.
    bool add(const std::string& line);

private:
    void save() const;
    std::string path_;
    std::deque<std::string> entries_;
};
