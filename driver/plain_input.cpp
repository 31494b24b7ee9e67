// Talk-mode lines from a pipe or a file: each read takes at most 511 bytes
// (a longer line arrives in pieces, each a line of its own), as fgets into
// a 512-byte buffer does; the text ends at a NUL byte.
#include <cstdio>
#include <cstring>

#include "driver/talk_input.h"
#include "platform/interruptible_read.h"

namespace {

constexpr std::size_t kPiece = 511;

class PlainInput : public TalkInput {
public:
    TalkRead readText(std::string& text) override { return readLine(">", text); }
    TalkRead readFileName(std::string& path) override { return readLine("File name: ", path); }

private:
    static TalkRead readLine(const char* prompt, std::string& line) {
        std::fputs(prompt, stdout);
        std::fflush(stdout);
        clearerr(stdin);  // a read cut short by an interrupted run is not the end
        std::string piece;
        switch (readLineInterruptibly(stdin, piece, kPiece)) {
            case LineRead::End:
                return TalkRead::End;
            case LineRead::Interrupted:
                std::fputc('\n', stdout);  // the next prompt on a line of its own
                return TalkRead::Abandoned;
            case LineRead::Line:
            case LineRead::Full:
                break;
        }
        line.assign(piece.c_str());
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            // Console input is text: a CR LF line end counts as LF.
            if (!line.empty() && line.back() == '\r') line.pop_back();
        }
        return TalkRead::Text;
    }
};

}  // namespace

std::unique_ptr<TalkInput> openPlainInput() { return std::make_unique<PlainInput>(); }
