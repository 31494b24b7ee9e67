// What a typed text leaves open, and the history file's rules.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "driver/history_file.h"
#include "driver/text_shape.h"

namespace {

TEST(TextShape, OpenBracketsAndCommentsAsTheScannerSeesThem) {
    struct Case {
        const char* text;
        bool startsInComment;
        bool needsMore;
        bool endsInLineComment;
    };
    const Case cases[] = {
        {"x = 1", false, false, false},
        {"function f(x) {", false, true, false},
        {"function f(x) {\nreturn x;\n}", false, false, false},
        {"a = [1, 2", false, true, false},
        {"f(1, (2", false, true, false},
        {"f(1)) + (", false, false, false},  // too many closers: the parser reports it
        {"s = \"(\"", false, false, false},
        {"s = \"\\\"(\"", false, false, false},
        {"s = \"\\\"\" + (", false, true, false},  // the escaped quote does not end the string
        {"f(\"open", false, false, false},  // an open string is the scanner's to report
        {"/* note", false, true, false},
        {"/* note */ x", false, false, false},
        {"still in it", true, true, false},
        {"ends */ x = (", true, true, false},
        {"b = 2; // note (", false, false, true},
        {"f( // note", false, true, true},
        {"// (\nx", false, false, false},
        {"#pragma (", false, false, true},
        {"#define X \\\n(", false, false, true},
        {"#define X\n(", false, true, false},
        {"x = 1 /* // */", false, false, false},
    };
    for (const Case& c : cases) {
        TextShape shape = shapeOf(c.text, c.startsInComment);
        EXPECT_EQ(shape.needsMoreLines, c.needsMore) << c.text;
        EXPECT_EQ(shape.endsInLineComment, c.endsInLineComment) << c.text;
    }
}

class HistoryFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quarn_history_XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        dir_ = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }
    std::string dir_;
};

TEST_F(HistoryFileTest, PathFromStateHomeElseHomeElseNone) {
    struct Case {
        const char* state;
        const char* home;
        std::string path;
    };
    const Case cases[] = {
        {"/s", "/h", "/s/quarn/history"},
        {"", "/h", "/h/.local/state/quarn/history"},
        {"relative", "/h", "/h/.local/state/quarn/history"},
        {nullptr, "/h", "/h/.local/state/quarn/history"},
        {nullptr, nullptr, ""},
        {nullptr, "relative", ""},
    };
    for (const Case& c : cases) {
        c.state ? setenv("XDG_STATE_HOME", c.state, 1) : unsetenv("XDG_STATE_HOME");
        c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
        EXPECT_EQ(historyFilePath(), c.path) << (c.state ? c.state : "-") << " " << (c.home ? c.home : "-");
    }
}

TEST_F(HistoryFileTest, KeepsTheNewestEntriesPrivatelyAndSkipsRepeats) {
    const std::string path = dir_ + "/made/on/demand/history";
    {
        HistoryFile history(path);
        EXPECT_TRUE(history.entries().empty());
        for (int i = 0; i < 1005; ++i) EXPECT_TRUE(history.add("x" + std::to_string(i) + ";"));
        EXPECT_FALSE(history.add("x1004;"));  // the newest again
        EXPECT_FALSE(history.add(""));
        EXPECT_FALSE(history.add("two\nlines"));
    }
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    HistoryFile again(path);
    ASSERT_EQ(again.entries().size(), kMaxHistory);
    EXPECT_EQ(again.entries().front(), "x5;");
    EXPECT_EQ(again.entries().back(), "x1004;");
}

TEST_F(HistoryFileTest, AnUnwritablePlaceKeepsNothingQuietly) {
    const std::string blocker = dir_ + "/file";
    std::ofstream(blocker) << "not a directory\n";
    HistoryFile history(blocker + "/quarn/history");
    EXPECT_TRUE(history.add("x = 1"));
    EXPECT_EQ(history.entries().size(), 1u);
    struct stat st;
    EXPECT_NE(stat((blocker + "/quarn").c_str(), &st), 0);
}

}  // namespace
