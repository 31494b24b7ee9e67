// The C preprocessor that script files pass through before they are parsed.
#pragma once

// argv: "", the -D/-U/-I options as typed, "-I" + module directory,
// "-o" + output path, and the script path last. Writes the preprocessed text
// with #line N "name" markers to the output path. Returns 0 on success; the
// preprocessor prints its own diagnostics on standard error.
int cpp_main(int argc, char** argv);
