#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
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
    }
    void TearDown() override {
        closeAllFiles();
        std::remove(path.c_str());
    }
    void write(const std::string& text) {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    NRefPtr call(BuiltinEntry entry, ArgList args) {
        NContext ctx;
        NRefPtr result = makeNum(0);
        entry(ctx, 7, args, result);
        return result;
    }
    double number(BuiltinEntry entry, ArgList args) { return asNum(call(entry, std::move(args)))->data[0].re; }
    double openSlot(int slot, const std::string& name, const std::string& mode) {
        return number(bi_open, {new NFileID(slot), makeString(name), makeString(mode)});
    }
};

std::string errorOf(BuiltinEntry entry, ArgList args) {
    NContext ctx;
    NRefPtr result = makeNum(0);
    try {
        entry(ctx, 3, args, result);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "no error";
}

// "r1c1 r1c2; r2c1 ..." of a real matrix, to compare whole shapes at once.
std::string shape(const NRefPtr& v) {
    NNum* m = asNum(v);
    if (!m) return "none";
    std::string s;
    for (int r = 0; r < m->rows; ++r) {
        if (r) s += "; ";
        for (int c = 0; c < m->cols; ++c) {
            if (c) s += " ";
            char buf[64];
            const Complex& z = m->at(r, c);
            if (z.im != 0)
                std::snprintf(buf, sizeof buf, "%g%+gi", z.re, z.im);
            else
                std::snprintf(buf, sizeof buf, "%g", z.re);
            s += buf;
        }
    }
    return s;
}

TEST_F(FileSlots, ArgumentChecks) {
    EXPECT_EQ(errorOf(bi_open, {new NFileID(10), makeString(path), makeString("r")}),
              "error [3]: Bad argument in open()");
    EXPECT_EQ(errorOf(bi_open, {new NFileID(-1), makeString(path), makeString("r")}),
              "error [3]: Bad argument in open()");
    EXPECT_EQ(errorOf(bi_open, {makeNum(1), makeString(path), makeString("r")}), "error [3]: Bad argument in open()");
    EXPECT_EQ(errorOf(bi_open, {new NFileID(1), makeNum(1), makeString("r")}), "error [3]: Bad argument in open()");
    EXPECT_EQ(errorOf(bi_open, {new NFileID(1), makeString(path), makeNum(0)}), "error [3]: Bad argument in open()");
    EXPECT_EQ(errorOf(bi_close, {new NFileID(10)}), "error [3]: Bad argument in close()");
    EXPECT_EQ(errorOf(bi_rewind, {makeString("x")}), "error [3]: Bad argument in rewind()");
    EXPECT_EQ(errorOf(bi_eof, {new NFileID(99)}), "error [3]: Bad argument in eof()");
}

TEST_F(FileSlots, OpenCloseRewindEof) {
    write("1 2\n");
    EXPECT_EQ(number(bi_close, {new NFileID(4)}), -1);  // never opened
    EXPECT_EQ(number(bi_rewind, {new NFileID(4)}), 0);
    EXPECT_EQ(number(bi_eof, {new NFileID(4)}), 1);
    EXPECT_EQ(openSlot(4, path + ".missing", "r"), 0);
    EXPECT_EQ(openSlot(4, path, "q"), 0);       // not a mode
    EXPECT_EQ(openSlot(4, path, "r,ccs=x"), 0);  // platform extensions refused
    EXPECT_EQ(openSlot(4, std::string("a\0b", 3), "r"), 0);
    EXPECT_EQ(openSlot(4, path, "rt"), 1);
    EXPECT_EQ(number(bi_eof, {new NFileID(4)}), 0);
    EXPECT_EQ(shape(readRow(*fileSlot(4))), "1 2");
    EXPECT_EQ(shape(readRow(*fileSlot(4))), "none");
    EXPECT_NE(number(bi_eof, {new NFileID(4)}), 0);
    EXPECT_EQ(number(bi_rewind, {new NFileID(4)}), 1);
    EXPECT_EQ(fileSlot(4)->lineCount, 0);
    EXPECT_EQ(number(bi_eof, {new NFileID(4)}), 0);
    EXPECT_EQ(shape(readRow(*fileSlot(4))), "1 2");
    // Opening again closes the old file first.
    EXPECT_EQ(openSlot(4, path, "r"), 1);
    EXPECT_EQ(fileSlot(4)->lineCount, 0);
    EXPECT_EQ(number(bi_close, {new NFileID(4)}), 0);
    EXPECT_EQ(number(bi_close, {new NFileID(4)}), -1);
    EXPECT_EQ(shape(readRow(*fileSlot(4))), "none");
    EXPECT_EQ(shape(readBlock(*fileSlot(4))), "none");
}

TEST_F(FileSlots, BlocksAreRunsOfEqualWidth) {
    write("1 2\n3 4\n# note\n5 6 7\n\n8 9 10\n1+2i\n");
    ASSERT_EQ(openSlot(0, path, "r"), 1);
    NFile& f = *fileSlot(0);
    EXPECT_EQ(shape(readBlock(f)), "1 2; 3 4");
    EXPECT_EQ(shape(readBlock(f)), "5 6 7; 8 9 10");
    EXPECT_EQ(shape(readBlock(f)), "1+2i");
    EXPECT_EQ(shape(readBlock(f)), "none");
    EXPECT_EQ(f.lineCount, 7);
    // Rewinding forgets the row that was read ahead.
    f.rewind();
    EXPECT_EQ(shape(readBlock(f)), "1 2; 3 4");
    EXPECT_EQ(f.pendingRows.size(), 1u);
    f.rewind();
    EXPECT_TRUE(f.pendingRows.empty());
    EXPECT_EQ(shape(readRow(f)), "1 2");
}

TEST_F(FileSlots, BadDataIsReportedWithItsLine) {
    write("# head\n1, 2, x\n2-3i 4\nzz\n5\n");
    ASSERT_EQ(openSlot(2, path, "r"), 1);
    NFile& f = *fileSlot(2);
    testing::internal::CaptureStderr();
    EXPECT_EQ(shape(readRow(f)), "1 2");
    EXPECT_EQ(shape(readRow(f)), "2-3i 4");
    EXPECT_EQ(shape(readRow(f)), "5");  // the line without numbers is skipped
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Bad data on line 2\nBad data on line 4\n");
}

TEST_F(FileSlots, LongLinesGarbageAndRemovedFiles) {
    std::string longLine;
    for (int i = 0; i < 100000; ++i) longLine += "7 ";
    std::string garbage("\x01\xff\0\x80 3\n", 7);
    write(longLine + "\n" + garbage + "4 5");  // no final line feed
    ASSERT_EQ(openSlot(9, path, "r"), 1);
    NFile& f = *fileSlot(9);
    NRefPtr row = readRow(f);
    ASSERT_TRUE(asNum(row));
    EXPECT_EQ(asNum(row)->cols, 100000);
    testing::internal::CaptureStderr();
    EXPECT_EQ(shape(readRow(f)), "4 5");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Bad data on line 2\n");
    EXPECT_EQ(shape(readRow(f)), "none");
}

TEST_F(FileSlots, FileRemovedWhileOpen) {
    write("1 2\n3 4\n");
    ASSERT_EQ(openSlot(3, path, "r"), 1);
    // The open stream keeps the data; reading goes on to the end.
    std::remove(path.c_str());
    EXPECT_EQ(shape(readRow(*fileSlot(3))), "1 2");
    EXPECT_EQ(shape(readRow(*fileSlot(3))), "3 4");
    EXPECT_EQ(shape(readRow(*fileSlot(3))), "none");
}

TEST_F(FileSlots, WritingThroughTheStream) {
    ASSERT_EQ(openSlot(5, path, "w"), 1);
    std::FILE* s = openFileStream(5);
    ASSERT_NE(s, nullptr);
    std::fputs("6 7\n", s);
    EXPECT_EQ(openFileStream(6), nullptr);
    EXPECT_EQ(openFileStream(42), nullptr);
    EXPECT_EQ(number(bi_close, {new NFileID(5)}), 0);
    ASSERT_EQ(openSlot(5, path, "r"), 1);
    EXPECT_EQ(shape(readRow(*fileSlot(5))), "6 7");
}

}  // namespace
