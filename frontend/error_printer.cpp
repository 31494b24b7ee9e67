#include <cstdio>

#include "frontend/frontend.h"

void print_frontend_error(const char* message) {
    const char* name = fid_name(scanner_file());
    if (name != nullptr)
        std::fprintf(stderr, "error [%s:%d]: %s\n", name, scanner_line(), message);
    else
        std::fprintf(stderr, "error [%d]: %s\n", scanner_line(), message);
}
