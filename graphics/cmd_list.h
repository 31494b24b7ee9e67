// The display list: drawing commands recorded by the interpreter thread and
// replayed in order by the window thread on every repaint.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class GWindow;

// A recorded command. The view mode given to draw is 0 (2D), 1 (3D) or 2
// (3D with lighting).
class GCBase {
public:
    GWindow* owner = nullptr;  // set when the command is appended

    virtual ~GCBase();
    virtual void draw(int viewMode) = 0;
    // Commands that are plain line segments give their two vertices here, so
    // that a run of them is drawn inside one glBegin(GL_LINES).
    virtual bool isSegment() const { return false; }
    virtual void segmentVertices(int) const {}
};

class CmdList {
public:
    CmdList() = default;
    ~CmdList();
    CmdList(const CmdList&) = delete;
    CmdList& operator=(const CmdList&) = delete;

    // Appends under the list lock; a command offered before the owner is set
    // is discarded.
    void add(std::unique_ptr<GCBase> command);
    // Deletes every command and puts in the default commands (font, line
    // style, point style, colour white) when the owner is set.
    void clear();
    // Replays every command in order under the list lock.
    void draw(int viewMode);

    void setOwner(GWindow* owner);
    GWindow* owner() const;
    std::size_t size() const;
    // Runs f on every command under the lock (for inspection).
    template <typename F>
    void forEach(F f) const {
        std::lock_guard<std::mutex> guard(lock_);
        for (const auto& c : commands_) f(*c);
    }

private:
    mutable std::mutex lock_;
    std::vector<std::unique_ptr<GCBase>> commands_;
    GWindow* owner_ = nullptr;
};
