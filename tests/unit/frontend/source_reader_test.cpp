#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "frontend/source_reader.h"

namespace {

std::string tempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("quarn_reader_") + name)).string();
}

std::string writeFile(const char* name, const std::string& content) {
    std::string path = tempPath(name);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
    return path;
}

}  // namespace

TEST(SourceReader, FilesThatCannotBeRead) {
    EXPECT_EQ(makeFileReader(tempPath("does_not_exist").c_str()), nullptr);
    EXPECT_EQ(makeFileReader(writeFile("empty", "").c_str()), nullptr);
    EXPECT_EQ(makeFileReader(std::filesystem::temp_directory_path().c_str()), nullptr);
    EXPECT_EQ(makeFileReader(nullptr), nullptr);
    // A failed open drops what the reader held before.
    EucFile r;
    ASSERT_TRUE(r.openText("old"));
    EXPECT_FALSE(r.openFile(tempPath("does_not_exist").c_str()));
    EXPECT_EQ(r.length(), 0u);
}

TEST(SourceReader, FileIsReadInTextMode) {
    auto r = makeFileReader(writeFile("crlf", "a = 1;\r\nb\rc\r\n\r\n").c_str());
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->text(), "a = 1;\nb\rc\n\n");
    // A NUL byte ends the text.
    auto z = makeFileReader(writeFile("nul", std::string("ab\0cd", 5)).c_str());
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(z->text(), "ab");
    // Shift_JIS becomes EUC-JP.
    auto k = makeFileReader(writeFile("sjis", "\x82\xa0\xb1").c_str());
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->text(), "\xa4\xa2\x8e\xb1");
}
