// The right-click menu, drawn by the window itself over the scene. It is
// modal while shown: it takes the mouse and the keys until an item is chosen
// or it is dismissed.
#pragma once

#include <string>
#include <vector>

class GLLabel;

class PopupMenu {
public:
    static constexpr int kDismissed = -1;
    static constexpr int kUndecided = -2;

    // Labels in order; "-" is a separator, "&X" marks the mnemonic X.
    void show(const std::vector<std::string>& labels, int x, int y, int windowWidth, int windowHeight,
              GLLabel& label);
    void hide() { shown_ = false; }
    bool shown() const { return shown_; }

    // Each returns the 0-based index of the chosen command item, kDismissed,
    // or kUndecided (the menu stays).
    int click(int x, int y);
    int key(int sym);  // SDL key symbol
    void hover(int x, int y);

    void draw(GLLabel& label, int windowWidth, int windowHeight) const;

    // Layout, for hit tests: the command index at a point, or -1.
    int commandAt(int x, int y) const;
    bool contains(int x, int y) const;
    int highlighted() const { return highlight_; }
    // The rectangle of a command item (left, top, right, bottom).
    void itemRect(int command, int r[4]) const;

private:
    struct Item {
        std::string text;  // without the '&'
        char mnemonic = 0;
        int mnemonicAt = -1;  // byte offset of the mnemonic in text
        bool separator = false;
        int top = 0, bottom = 0;
    };
    int commandIndexOfItem(std::size_t item) const;

    std::vector<Item> items_;
    bool shown_ = false;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int highlight_ = -1;  // command index
};
