// The preprocessor's entry: the argument list, the output, the messages.
#include "platform/preprocess.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/preprocessor/fault.h"
#include "platform/preprocessor/walker.h"
#include "platform/write_all.h"

namespace {

void toStandardError(const std::string& message) {
    std::fflush(stdout);  // what the script printed so far comes first
    std::fprintf(stderr, "%s\n", message.c_str());
}

bool isOption(const std::string& word, char letter) {
    return word.size() >= 2 && word[0] == '-' && word[1] == letter;
}

// Reads the argument list; `output` receives the -o path when one is given.
bool readArguments(int argc, char** argv, PreprocessJob& job, std::string* output) {
    if (argc < 2 || argv == nullptr || argv[argc - 1] == nullptr) {
        toStandardError("error: no script named for the preprocessor");
        return false;
    }
    job.script = argv[argc - 1];
    for (int i = 1; i < argc - 1; ++i) {
        const std::string word = argv[i] != nullptr ? argv[i] : "";
        if (isOption(word, 'o')) {
            if (output != nullptr) *output = word.substr(2);
        } else if (isOption(word, 'D') || isOption(word, 'U') || isOption(word, 'I')) {
            job.options.push_back(word);
        } else {
            toStandardError("error: unknown preprocessor option \"" + word + "\"");
            return false;
        }
    }
    return true;
}

bool writeWhole(const std::string& path, const std::string& text) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return false;
    const bool written = writeAll(fd, text);
    return ::close(fd) == 0 && written;
}

}  // namespace

bool preprocess(const PreprocessJob& job, std::string& text) {
    text.clear();
    std::vector<std::string> includeDirs;
    std::vector<std::string> definitions;
    for (const std::string& option : job.options) {
        // A bare -D, -U or -I names nothing and is passed over.
        if (option.size() <= 2) continue;
        if (isOption(option, 'I')) {
            includeDirs.push_back(option.substr(2));
        } else if (isOption(option, 'D') || isOption(option, 'U')) {
            definitions.push_back(option);
        }
    }
    std::string message;
    try {
        pp::Walker walker(job, std::move(includeDirs), text);
        for (const std::string& d : definitions) walker.applyOption(d);
        walker.run(job.script);
        return true;
    } catch (const pp::Failure& failure) {
        message = failure.message;
    } catch (const std::bad_alloc&) {
        message = "error: Not enough memory to preprocess \"" + job.script + "\"";
    }
    text.clear();
    text.shrink_to_fit();
    if (job.report) {
        job.report(message);
    } else {
        toStandardError(message);
    }
    return false;
}

int cpp_main(int argc, char** argv, std::string& text) {
    PreprocessJob job;
    if (!readArguments(argc, argv, job, nullptr)) return 1;
    return preprocess(job, text) ? 0 : 1;
}

int cpp_main(int argc, char** argv) {
    PreprocessJob job;
    std::string output;
    if (!readArguments(argc, argv, job, &output)) return 1;
    if (output.empty()) {
        toStandardError("error: no output file (-o) for the preprocessor");
        return 1;
    }
    std::string text;
    if (!preprocess(job, text)) return 1;
    if (!writeWhole(output, text)) {
        toStandardError("error: cannot write \"" + output + "\": " + std::strerror(errno));
        return 1;
    }
    return 0;
}
