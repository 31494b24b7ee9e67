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

// Files are read in text mode, up to a NUL byte, with Shift_JIS made EUC-JP;
// a file that cannot be read (or is empty) gives no reader, and a failed open
// drops what the reader held before.
TEST(SourceReader, TextModeAndFilesThatCannotBeRead) {
    const struct {
        const char* name;
        std::string bytes, text;
    } cases[] = {{"crlf", "a = 1;\r\nb\rc\r\n\r\n", "a = 1;\nb\rc\n\n"},
                 {"nul", std::string("ab\0cd", 5), "ab"},
                 {"sjis", "\x82\xa0\xb1", "\xa4\xa2\x8e\xb1"}};
    for (const auto& c : cases) {
        auto r = makeFileReader(writeFile(c.name, c.bytes).c_str());
        ASSERT_NE(r, nullptr) << c.name;
        EXPECT_EQ(r->text(), c.text) << c.name;
    }
    EXPECT_EQ(makeFileReader(tempPath("does_not_exist").c_str()), nullptr);
    EXPECT_EQ(makeFileReader(writeFile("empty", "").c_str()), nullptr);
    EXPECT_EQ(makeFileReader(std::filesystem::temp_directory_path().c_str()), nullptr);
    EXPECT_EQ(makeFileReader(nullptr), nullptr);
    EucFile r;
    ASSERT_TRUE(r.openText("old"));
    EXPECT_FALSE(r.openFile(tempPath("does_not_exist").c_str()));
    EXPECT_EQ(r.length(), 0u);
}
