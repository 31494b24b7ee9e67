// Reading lines that Ctrl-C (an interrupt request) can end at any moment.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/interrupt.h"
#include "platform/interruptible_read.h"

namespace {

// A pipe whose read end is a stream; the write end stays open unless closed.
struct Pipe {
    int ends[2] = {-1, -1};
    std::FILE* stream = pipe(ends) == 0 ? fdopen(ends[0], "r") : nullptr;
    ~Pipe() {
        closeWriter();
        if (stream) std::fclose(stream);
    }
    void write(const std::string& text) { EXPECT_EQ(::write(ends[1], text.data(), text.size()), ssize_t(text.size())); }
    void closeWriter() {
        if (ends[1] >= 0) close(ends[1]);
        ends[1] = -1;
    }
};

TEST(InterruptibleRead, LinesPiecesAndTheEnd) {
    Pipe p;
    p.write("one\ntwo that is long\nlast");
    p.closeWriter();
    struct Step {
        std::size_t max;
        LineRead result;
        const char* text;
    };
    const Step steps[] = {
        {100, LineRead::Line, "one\n"},       {5, LineRead::Full, "two t"},
        {100, LineRead::Line, "hat is long\n"}, {100, LineRead::Line, "last"},
        {100, LineRead::End, ""},             {100, LineRead::End, ""},
    };
    std::string out;
    for (const Step& s : steps) {
        EXPECT_EQ(readLineInterruptibly(p.stream, out, s.max), s.result) << s.text;
        EXPECT_EQ(out, s.text);
    }
}

TEST(InterruptibleRead, ARequestEndsTheWaitAndTakesNoInput) {
    Pipe p;
    std::string out;
    requestInterrupt();  // already pending: no wait at all
    EXPECT_EQ(readLineInterruptibly(p.stream, out, 100), LineRead::Interrupted);
    clearInterrupt();

    // A request from elsewhere while the read waits; the half line read
    // so far is dropped, and what comes later is still there to read.
    p.write("half");
    std::thread other([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        requestInterrupt();
    });
    EXPECT_EQ(readLineInterruptibly(p.stream, out, 100), LineRead::Interrupted);
    other.join();
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(interruptPending());
    clearInterrupt();
    p.write(" line\n");
    EXPECT_EQ(readLineInterruptibly(p.stream, out, 100), LineRead::Line);
    EXPECT_EQ(out, " line\n");
}

}  // namespace
