#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

#include "files/files.h"

namespace {

class FileSlots : public ::testing::Test {
protected:
    std::string path;

    void SetUp() override {
        char name[] = "/tmp/quarn_files_XXXXXX";
        int fd = mkstemp(name);
        ASSERT_GE(fd, 0);
        ::close(fd);
        path = name;
        std::ofstream(path) << "1 2\n3 4\n5 6 7\n";
    }
    void TearDown() override {
        closeAllFiles();
        std::remove(path.c_str());
    }
};

int columns(const NRefPtr& v) { return asNum(v) ? asNum(v)->cols : -1; }
int rowCount(const NRefPtr& v) { return asNum(v) ? asNum(v)->rows : -1; }

TEST_F(FileSlots, OnlyPlainModesAndNamesOpen) {
    NFile& f = *fileSlot(4);
    for (const char* mode : {"", "q", "rr", "r++", "r,ccs=UTF-8", "re", "x"}) {
        EXPECT_FALSE(f.open(path, mode)) << mode;
        EXPECT_FALSE(f.isOpen());
    }
    // A NUL byte would silently cut the name to another file.
    EXPECT_FALSE(f.open(path + std::string("\0x", 2), "r"));
    EXPECT_FALSE(f.open("", "r"));
    for (const char* mode : {"r", "rt", "rb", "r+", "r+b", "rb+", "a"}) EXPECT_TRUE(f.open(path, mode)) << mode;
    EXPECT_EQ(fileSlot(10), nullptr);
    EXPECT_EQ(fileSlot(-1), nullptr);
    EXPECT_EQ(openFileStream(4), f.stream);
}

TEST_F(FileSlots, ReopeningStartsAfresh) {
    NFile& f = *fileSlot(1);
    ASSERT_TRUE(f.open(path, "r"));
    readBlock(f);  // leaves the 3-element line read ahead
    ASSERT_TRUE(f.open(path, "r"));
    EXPECT_EQ(rowCount(readBlock(f)), 2);
    EXPECT_EQ(columns(readBlock(f)), 3);
    EXPECT_FALSE(readBlock(f));
}

}  // namespace
