// Text conversion, font resolution and the one-bit text bitmaps.
#include <gtest/gtest.h>

#include "graphics/label.h"

TEST(LabelText, ShiftJisToUnicode) {
    EXPECT_EQ(sjisToUnicode("Ab1"), U"Ab1");
    // 82 6C is a full-width M, 96 BE the first character of the default face's name.
    EXPECT_EQ(sjisToUnicode("\x82\x6C\x96\xBE"), U"\uFF2D\u660E");
    // A lead byte with nothing after it, and a byte that starts no character.
    EXPECT_EQ(sjisToUnicode("a\x82"), U"a\uFFFD");
    EXPECT_EQ(sjisToUnicode("\xA0x"), std::u32string(U"\uFFFDx"));
    EXPECT_EQ(sjisToUtf8("\x96\xBE!"), "\xE6\x98\x8E!");
    EXPECT_TRUE(sjisToUnicode("").empty());
}

TEST(LabelFont, DefaultFaceFallsBackToAnInstalledFace) {
    GLLabel label;
    ASSERT_TRUE(label.hasFont()) << "no installed font face at all";
    EXPECT_EQ(label.cellHeight(), kDefaultFontHeight);
    std::string chosen = label.fontFile();
    // A face nobody has leaves the font as it was.
    label.setFont("No Such Face 12345", 30);
    EXPECT_EQ(label.fontFile(), chosen);
    EXPECT_EQ(label.cellHeight(), kDefaultFontHeight);
    // An installed face by name, at another height.
    FontFile dejavu = findFontFamily("DejaVu Sans");
    if (!dejavu.path.empty()) {
        label.setFont("dejavu sans", 20);
        EXPECT_EQ(label.fontFile(), dejavu.path);
        EXPECT_EQ(label.cellHeight(), 20);
    }
    EXPECT_TRUE(findFontFamily("No Such Face 12345").path.empty());
}

TEST(LabelBitmap, LayoutOfTheTextBitmap) {
    GLLabel label;
    ASSERT_TRUE(label.hasFont());
    TextBitmap empty = label.rasterise("");
    EXPECT_EQ(empty.width, 32);
    EXPECT_EQ(empty.height, label.cellHeight() + 2);
    EXPECT_EQ(empty.countSet(), 0);

    for (const char* text : {"H", "Hello", "x = 1.25", "MMMMMMMMMMMM"}) {
        TextBitmap bm = label.rasterise(text);
        // Rows are whole 32-bit words and the text fits in them.
        EXPECT_EQ(bm.width % 32, 0) << text;
        EXPECT_GE(bm.width, label.textWidth(text) + 2) << text;
        EXPECT_GT(bm.countSet(), 0) << text;
        int leftmost = bm.width, bottom = -1, top = bm.height;
        for (int y = 0; y < bm.height; ++y)
            for (int x = 0; x < bm.width; ++x)
                if (bm.isSet(x, y)) {
                    leftmost = std::min(leftmost, x);
                    bottom = std::max(bottom, y);
                    top = std::min(top, y);
                }
        EXPECT_GE(leftmost, 2) << text;                 // two empty columns on the left
        EXPECT_LT(bottom, bm.height - 2) << text;      // two empty rows at the bottom
        EXPECT_LT(top, label.cellHeight() / 2) << text;  // capitals reach the upper half
    }
    // Rows are stored bottom first: the top row of the picture is the last row in memory.
    TextBitmap bar = label.rasterise("|");
    int firstRowWithInk = -1;
    for (int row = 0; row < bar.height && firstRowWithInk < 0; ++row)
        for (int b = 0; b < bar.bytesPerRow(); ++b)
            if (bar.bits[row * bar.bytesPerRow() + b]) firstRowWithInk = row;
    EXPECT_GE(firstRowWithInk, 2);
}
