#include "graphics/cmd_list.h"

#include <GL/gl.h>

#include "graphics/commands.h"
#include "graphics/label.h"

GCBase::~GCBase() = default;

CmdList::~CmdList() {
    std::lock_guard<std::mutex> guard(lock_);
    commands_.clear();
}

void CmdList::add(std::unique_ptr<GCBase> command) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!owner_) return;  // nothing to draw it in yet: dropped
    command->owner = owner_;
    commands_.push_back(std::move(command));
}

void CmdList::clear() {
    std::lock_guard<std::mutex> guard(lock_);
    commands_.clear();
    if (!owner_) return;
    std::unique_ptr<GCBase> defaults[] = {
        std::make_unique<GCFont>(kDefaultFaceName, kDefaultFontHeight),
        std::make_unique<GCLineStyle>(0, 1),
        std::make_unique<GCPointStyle>(4),
        std::make_unique<GCColor>(1.0f, 1.0f, 1.0f),
    };
    for (auto& c : defaults) {
        c->owner = owner_;
        commands_.push_back(std::move(c));
    }
}

void CmdList::draw(int viewMode) {
    std::lock_guard<std::mutex> guard(lock_);
    bool inLines = false;
    for (const auto& c : commands_) {
        if (c->isSegment()) {
            if (!inLines) glBegin(GL_LINES);
            inLines = true;
            c->segmentVertices(viewMode);
            continue;
        }
        if (inLines) glEnd();
        inLines = false;
        c->draw(viewMode);
    }
    if (inLines) glEnd();
}

void CmdList::setOwner(GWindow* owner) {
    std::lock_guard<std::mutex> guard(lock_);
    owner_ = owner;
}

GWindow* CmdList::owner() const {
    std::lock_guard<std::mutex> guard(lock_);
    return owner_;
}

std::size_t CmdList::size() const {
    std::lock_guard<std::mutex> guard(lock_);
    return commands_.size();
}
