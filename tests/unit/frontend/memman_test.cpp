#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "frontend/frontend.h"
#include "frontend/memman.h"

TEST(MemMan, RecordsOnlyWhileRecording) {
    MemMan mm;
    void* outside = mm.allocate(16);
    EXPECT_EQ(mm.recordedCount(), 0u);
    mm.setRecording(true);
    void* a = mm.allocate(8);
    void* b = mm.allocate(0);
    void* c = mm.allocate(24);
    EXPECT_EQ(mm.recordedCount(), 3u);
    // Releasing a recorded block drops its record; an unrecorded one is
    // simply freed.
    mm.release(b);
    EXPECT_EQ(mm.recordedCount(), 2u);
    mm.release(outside);
    EXPECT_EQ(mm.recordedCount(), 2u);
    mm.releaseAll();  // frees a and c
    EXPECT_EQ(mm.recordedCount(), 0u);
    EXPECT_TRUE(mm.empty());
    (void)a;
    (void)c;
    // Forgetting drops the records but keeps the blocks.
    char* p = static_cast<char*>(mm.allocate(6));
    std::snprintf(p, 6, "alive");
    mm.forgetAll();
    EXPECT_EQ(mm.recordedCount(), 0u);
    EXPECT_STREQ(p, "alive");
    mm.release(p);  // no record any more: freed all the same
}

TEST(MemMan, LeakReportListsRecordedBlocksInOrder) {
    void* first;
    void* second;
    testing::internal::CaptureStdout();
    {
        MemMan mm;
        mm.setRecording(true);
        first = mm.allocate(4);
        void* gone = mm.allocate(4);
        second = mm.allocate(4);
        mm.release(gone);
    }
    std::string report = testing::internal::GetCapturedStdout();
    char expected[128];
    std::snprintf(expected, sizeof expected, "MemMan: leak detected: %08x\nMemMan: leak detected: %08x\n",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(first)),
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(second)));
    EXPECT_EQ(report, expected);
    // The report does not free the blocks; they can still be released,
    // and a record emptied that way reports nothing.
    testing::internal::CaptureStdout();
    {
        MemMan other;
        other.setRecording(true);
        other.release(first);
        other.release(second);
        other.release(other.allocate(10));
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(SourceNames, InternIgnoresLetterCase) {
    int a = fid_intern("Dir/Some_Script.qn");
    EXPECT_GE(a, 0);
    EXPECT_EQ(fid_intern("dir/some_script.QN"), a);
    EXPECT_STREQ(fid_name(a), "Dir/Some_Script.qn");
    int b = fid_intern("dir/other.qn");
    EXPECT_NE(b, a);
    // A name that is only a prefix of an interned one is a different name,
    // and so is one that merely starts with an interned one.
    EXPECT_NE(fid_intern("dir/other.q"), b);
    EXPECT_NE(fid_intern("dir/other.qn.i"), b);
}

TEST(SourceNames, NoNameAndBadIndexes) {
    EXPECT_EQ(fid_intern(nullptr), -1);
    int probe = fid_intern("names-count-probe");
    EXPECT_EQ(fid_intern(""), -1);
    EXPECT_EQ(fid_intern("another-probe"), probe + 1);  // "" added nothing
    EXPECT_EQ(fid_name(-1), nullptr);
    EXPECT_EQ(fid_name(probe + 2), nullptr);
}

TEST(MemManDeathTest, OutOfMemoryEndsTheProcess) {
    EXPECT_EXIT(
        {
            MemMan mm;
            mm.allocate(SIZE_MAX);
        },
        testing::ExitedWithCode(1), "");
}
