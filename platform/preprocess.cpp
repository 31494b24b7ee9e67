// The preprocessor is the mcpp library, run in a child process so that its
// process-wide state starts fresh on every call and a failure inside it can
// never take the interpreter down.
//
// Two things of the script language are not C: the transpose operator is a
// lone apostrophe, which a C preprocessor reads as the start of a character
// constant, and a script may start with a "#!" line. Before the script goes
// to the preprocessor every apostrophe is replaced by a placeholder word and
// a "#!" first line by an empty line (so line numbers stay); afterwards the
// placeholders become apostrophes again. Included files are read by the
// preprocessor directly, in its lenient mode, which accepts apostrophes too.
#include "platform/preprocess.h"

extern "C" {
#include <mcpp_lib.h>
}
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char kPlaceholder[] = "__quarn_apostrophe__";

bool readWhole(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    out = s.str();
    return true;
}

bool writeWhole(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << text;
    return static_cast<bool>(out.flush());
}

// -Dname[=value] and -Uname as directives, in command-line order (the
// preprocessor itself would apply every -U after every -D).
std::string definitionPrelude(const std::vector<std::string>& definitions) {
    std::string prelude;
    for (const std::string& d : definitions) {
        std::string body = d.substr(2);
        if (d[1] == 'U') {
            prelude += "#undef " + body + "\n";
            continue;
        }
        std::size_t eq = body.find('=');
        if (eq == std::string::npos) {
            prelude += "#define " + body + " 1\n";
        } else {
            prelude += "#define " + body.substr(0, eq) + " " + body.substr(eq + 1) + "\n";
        }
    }
    return prelude;
}

std::string protectSource(const std::string& src) {
    std::string out;
    out.reserve(src.size() + src.size() / 8);
    std::size_t i = 0;
    if (src.compare(0, 2, "#!") == 0) {
        while (i < src.size() && src[i] != '\n') ++i;  // keep the newline: the line count stays
    }
    for (; i < src.size(); ++i) {
        if (src[i] == '\'') {
            out += ' ';
            out += kPlaceholder;
            out += ' ';
        } else {
            out += src[i];
        }
    }
    return out;
}

// Undoes protectSource: " placeholder " (either blank may have been dropped
// or doubled by the preprocessor outside strings; inside strings it is kept
// exactly) becomes one apostrophe.
std::string restoreSource(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    const std::size_t n = std::strlen(kPlaceholder);
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t hit = text.find(kPlaceholder, i);
        if (hit == std::string::npos) {
            out.append(text, i, std::string::npos);
            break;
        }
        std::size_t keepEnd = hit;
        if (keepEnd > i && text[keepEnd - 1] == ' ') --keepEnd;
        out.append(text, i, keepEnd - i);
        out += '\'';
        i = hit + n;
        if (i < text.size() && text[i] == ' ') ++i;
    }
    return out;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return;
    std::size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        pos += to.size();
    }
}

std::string absolutePath(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string result(real);
    std::free(real);
    return result;
}

// Runs the preprocessor in a child. Its diagnostics come back through a pipe
// so that the protected copy's name can be replaced by the script's own.
// The preprocessor quotes the offending source line; a line of a megabyte
// helps nobody, so quoted lines are cut.
std::string shortenLines(const std::string& text) {
    constexpr std::size_t kMaxLine = 400;
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end - start > kMaxLine) {
            out.append(text, start, kMaxLine);
            out += "...";
        } else {
            out.append(text, start, end - start);
        }
        if (end < text.size()) out += '\n';
        start = end + 1;
    }
    return out;
}

int runPreprocessor(std::vector<std::string>& args, std::string& diagnostics) {
    std::fflush(stdout);
    std::fflush(stderr);
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return -1;
    pid_t child = fork();
    if (child < 0) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        return -1;
    }
    if (child == 0) {
        close(pipeFds[0]);
        dup2(pipeFds[1], STDERR_FILENO);
        close(pipeFds[1]);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int rc = mcpp_lib_main(static_cast<int>(args.size()), argv.data());
        std::fflush(nullptr);
        _exit(rc == 0 ? 0 : 1);
    }
    close(pipeFds[1]);
    char buffer[4096];
    for (;;) {
        ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n > 0) {
            diagnostics.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

int cpp_main(int argc, char** argv) {
    if (argc < 2) return 1;
    const std::string script = argv[argc - 1];
    std::string output;
    std::vector<std::string> includes;
    std::vector<std::string> definitions;
    for (int i = 1; i < argc - 1; ++i) {
        std::string a = argv[i];
        if (a.compare(0, 2, "-o") == 0) {
            output = a.substr(2);
        } else if (a.size() > 2 && a[1] == 'I') {
            includes.push_back(a);
        } else if (a.size() > 2 && (a[1] == 'D' || a[1] == 'U')) {
            definitions.push_back(a);
        }
        // A bare "-D", "-U" or "-I" names nothing and is dropped: the
        // preprocessor would otherwise take the next word as its operand.
    }
    if (output.empty()) return 1;

    std::string source;
    if (!readWhole(script, source)) {
        std::fprintf(stderr, "error: cannot open script file \"%s\"\n", script.c_str());
        return 1;
    }
    const std::string protectedPath = output + ".src";
    // The prelude's lines are not counted: the marker after it restarts at 1.
    std::string prelude = definitionPrelude(definitions);
    if (!prelude.empty()) prelude += "#line 1 \"" + protectedPath + "\"\n";
    if (!writeWhole(protectedPath, prelude + protectSource(source))) {
        std::fprintf(stderr, "error: cannot write \"%s\"\n", protectedPath.c_str());
        std::remove(protectedPath.c_str());
        return 1;
    }

    std::vector<std::string> args = {"mcpp", "-N", "-I-", "-a", "-e", "sjis"};
    args.insert(args.end(), includes.begin(), includes.end());
    args.push_back(protectedPath);
    args.push_back(output);
    std::string diagnostics;
    const std::string protectedAbsolute = absolutePath(protectedPath);
    int rc = runPreprocessor(args, diagnostics);
    std::remove(protectedPath.c_str());
    // Messages, markers and __FILE__ name the protected copy: name the script.
    replaceAll(diagnostics, protectedAbsolute, script);
    replaceAll(diagnostics, protectedPath, script);
    std::fputs(shortenLines(restoreSource(diagnostics)).c_str(), stderr);
    if (rc != 0) return rc < 0 ? 1 : rc;

    std::string text;
    if (!readWhole(output, text)) return 1;
    replaceAll(text, "\"" + protectedAbsolute + "\"", "\"" + script + "\"");
    replaceAll(text, "\"" + protectedPath + "\"", "\"" + script + "\"");
    text = restoreSource(text);
    return writeWhole(output, text) ? 0 : 1;
}
