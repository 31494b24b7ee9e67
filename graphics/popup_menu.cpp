#include "graphics/popup_menu.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <cctype>

#include "graphics/label.h"

namespace {
constexpr int kItemHeight = 20;
constexpr int kSeparatorHeight = 7;
constexpr int kPadding = 4;
constexpr int kTextLeft = 18;
}  // namespace

void PopupMenu::show(const std::vector<std::string>& labels, int x, int y, int windowWidth, int windowHeight,
                     GLLabel& label) {
    items_.clear();
    int widest = 0;
    int at = kPadding;
    for (const std::string& l : labels) {
        Item item;
        if (l == "-") {
            item.separator = true;
            item.top = at;
            at += kSeparatorHeight;
        } else {
            for (std::size_t i = 0; i < l.size(); ++i) {
                if (l[i] == '&' && i + 1 < l.size() && item.mnemonicAt < 0) {
                    item.mnemonic = static_cast<char>(std::tolower(static_cast<unsigned char>(l[i + 1])));
                    item.mnemonicAt = static_cast<int>(item.text.size());
                    continue;
                }
                item.text.push_back(l[i]);
            }
            item.top = at;
            at += kItemHeight;
            widest = std::max(widest, label.textWidth(item.text));
        }
        item.bottom = at;
        items_.push_back(item);
    }
    width_ = widest + kTextLeft * 2;
    height_ = at + kPadding;
    // Kept inside the window, as far as it fits.
    left_ = std::max(0, std::min(x, windowWidth - width_));
    top_ = std::max(0, std::min(y, windowHeight - height_));
    highlight_ = -1;
    shown_ = true;
}

int PopupMenu::commandIndexOfItem(std::size_t item) const {
    int n = 0;
    for (std::size_t i = 0; i < item; ++i) n += items_[i].separator ? 0 : 1;
    return items_[item].separator ? -1 : n;
}

bool PopupMenu::contains(int x, int y) const {
    return shown_ && x >= left_ && x < left_ + width_ && y >= top_ && y < top_ + height_;
}

int PopupMenu::commandAt(int x, int y) const {
    if (!contains(x, y)) return -1;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (y - top_ >= items_[i].top && y - top_ < items_[i].bottom) return commandIndexOfItem(i);
    }
    return -1;
}

void PopupMenu::itemRect(int command, int r[4]) const {
    r[0] = r[1] = r[2] = r[3] = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (commandIndexOfItem(i) == command) {
            r[0] = left_;
            r[1] = top_ + items_[i].top;
            r[2] = left_ + width_;
            r[3] = top_ + items_[i].bottom;
        }
    }
}

int PopupMenu::click(int x, int y) {
    if (!shown_) return kDismissed;
    if (!contains(x, y)) {
        shown_ = false;
        return kDismissed;
    }
    int command = commandAt(x, y);
    if (command < 0) return kUndecided;  // a separator or the margin
    shown_ = false;
    return command;
}

void PopupMenu::hover(int x, int y) {
    int command = commandAt(x, y);
    if (command >= 0 || !contains(x, y)) highlight_ = command;
}

int PopupMenu::key(int sym) {
    if (!shown_) return kDismissed;
    int commands = 0;
    for (const Item& i : items_) commands += i.separator ? 0 : 1;
    if (sym == SDLK_ESCAPE) {
        shown_ = false;
        return kDismissed;
    }
    if (sym == SDLK_RETURN || sym == SDLK_KP_ENTER) {
        if (highlight_ < 0) return kUndecided;
        shown_ = false;
        return highlight_;
    }
    if (sym == SDLK_DOWN && commands > 0) {
        highlight_ = (highlight_ + 1) % commands;
        return kUndecided;
    }
    if (sym == SDLK_UP && commands > 0) {
        highlight_ = highlight_ <= 0 ? commands - 1 : highlight_ - 1;
        return kUndecided;
    }
    if (sym < 0 || sym > 127) return kUndecided;
    char c = static_cast<char>(std::tolower(sym));
    std::vector<int> matches;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (!items_[i].separator && items_[i].mnemonic == c) matches.push_back(commandIndexOfItem(i));
    }
    if (matches.size() == 1) {
        shown_ = false;
        return matches[0];
    }
    if (matches.size() > 1) {
        // A letter shared by several items moves between them; Enter chooses.
        auto next = std::upper_bound(matches.begin(), matches.end(), highlight_);
        highlight_ = next == matches.end() ? matches[0] : *next;
    }
    return kUndecided;
}

void PopupMenu::draw(GLLabel& label, int windowWidth, int windowHeight) const {
    if (!shown_) return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, windowWidth, windowHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glLineStipple(1, 0xFFFF);
    glLineWidth(1.0f);

    auto rect = [](int l, int t, int r, int b) {
        glBegin(GL_QUADS);
        glVertex2i(l, t);
        glVertex2i(r, t);
        glVertex2i(r, b);
        glVertex2i(l, b);
        glEnd();
    };
    glColor3f(0.94f, 0.94f, 0.94f);
    rect(left_, top_, left_ + width_, top_ + height_);
    glColor3f(0.45f, 0.45f, 0.45f);
    glBegin(GL_LINE_LOOP);
    glVertex2f(left_ + 0.5f, top_ + 0.5f);
    glVertex2f(left_ + width_ - 0.5f, top_ + 0.5f);
    glVertex2f(left_ + width_ - 0.5f, top_ + height_ - 0.5f);
    glVertex2f(left_ + 0.5f, top_ + height_ - 0.5f);
    glEnd();

    for (std::size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        int top = top_ + item.top, bottom = top_ + item.bottom;
        if (item.separator) {
            glColor3f(0.7f, 0.7f, 0.7f);
            glBegin(GL_LINES);
            glVertex2f(left_ + 4.0f, (top + bottom) / 2 + 0.5f);
            glVertex2f(left_ + width_ - 4.0f, (top + bottom) / 2 + 0.5f);
            glEnd();
            continue;
        }
        bool lit = commandIndexOfItem(i) == highlight_;
        if (lit) {
            glColor3f(0.2f, 0.4f, 0.8f);
            rect(left_ + 2, top, left_ + width_ - 2, bottom);
        }
        if (lit) glColor3f(1, 1, 1);
        else glColor3f(0, 0, 0);
        // The bitmap's bottom row is 2 pixels below the text.
        int base = bottom - (kItemHeight - label.cellHeight()) / 2 + 1;
        label.drawText(left_ + kTextLeft - 2, base, 0.0, item.text);
        if (item.mnemonicAt >= 0) {
            int x0 = left_ + kTextLeft + label.textWidth(item.text.substr(0, item.mnemonicAt));
            int x1 = x0 + label.textWidth(item.text.substr(item.mnemonicAt, 1));
            glBegin(GL_LINES);
            glVertex2f(x0 + 0.0f, base - 2.5f);
            glVertex2f(x1 + 0.0f, base - 2.5f);
            glEnd();
        }
    }
}
