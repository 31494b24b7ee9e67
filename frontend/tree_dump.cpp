#include "frontend/tree_dump.h"

#include <cstdio>

namespace {

const char* const kNames[] = {
    "?",       "num",     "ident",   "str",      "fileid",  "matrix",  "row",     "allrange", "range",
    "index",   "add",     "sub",     "mul",      "div",     "pow",     "mod",     "dot",      "ldiv",
    "neg",     "trans",   "block",   "assign",   "cond",    "comma",   "preinc",  "postinc",  "predec",
    "postdec", "addset",  "subset",  "mulset",   "divset",  "powset",  "modset",  "dotset",   "ldivset",
    "var",     "extern",  "call",    "if",       "while",   "do",      "for",     "try",      "switch",
    "case",    "default", "eq",      "ne",       "gt",      "ge",      "lt",      "le",       "same",
    "nsame",   "any",     "all",     "not",      "and",     "or",      "break",   "continue", "return",
    "swap",    "input",   "linput",
};

void dump(std::string& out, const Node* n);

void dumpList(std::string& out, const Node* first) {
    out += '[';
    for (const Node* e = first; e != nullptr; e = nextOf(e)) {
        if (e != first) out += ' ';
        dump(out, e);
    }
    out += ']';
}

void dumpChild(std::string& out, const Node* n) {
    out += ' ';
    if (n == nullptr) {
        out += '-';
        return;
    }
    dump(out, n);
    // A next link where no list belongs would be a fault of the parser.
    if (nextOf(n) != nullptr) {
        out += " +next";
        dumpList(out, nextOf(n));
    }
}

void dumpNumber(std::string& out, double re, double im) {
    char text[64];
    if (im == 0)
        std::snprintf(text, sizeof text, "%.17g", re);
    else if (re == 0)
        std::snprintf(text, sizeof text, "%.17gi", im);
    else
        std::snprintf(text, sizeof text, "%.17g%+.17gi", re, im);
    out += text;
}

void dumpString(std::string& out, const StrPayload* s) {
    out += '"';
    for (std::uint32_t i = 0; i < s->length; ++i) {
        unsigned char c = static_cast<unsigned char>(s->bytes[i]);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char text[8];
            std::snprintf(text, sizeof text, "\\x%02x", c);
            out += text;
        }
    }
    out += '"';
}

void dumpPayload(std::string& out, const Node* n, int count) {
    Node* const* p = static_cast<Node* const*>(n->data);
    for (int i = 0; i < count; ++i) dumpChild(out, p[i]);
}

void dump(std::string& out, const Node* n) {
    switch (n->kind) {
    case OP_NUM:
        dumpNumber(out, n->re, n->im);
        return;
    case OP_IDENT:
        out += identName(n);
        return;
    case OP_STR:
        dumpString(out, static_cast<const StrPayload*>(n->data));
        return;
    case OP_FILEID:
        out += '@';
        out += std::to_string(static_cast<int>(n->re));
        return;
    case OP_BLOCK: {
        out += '{';
        bool first = true;
        for (const Node* s : *blockContext(n)) {
            if (!first) out += "; ";
            first = false;
            dump(out, s);
        }
        out += '}';
        return;
    }
    default:
        break;
    }
    out += '(';
    out += kindName(n->kind);
    switch (n->kind) {
    case OP_MATRIX:
    case OP_ROW:
    case OP_VAR:
    case OP_EXTERN:
    case OP_INPUT:
    case OP_LINPUT:
        out += ' ';
        dumpList(out, n->child[0]);
        break;
    case OP_INDEX:
        dumpChild(out, n->child[0]);
        out += ' ';
        dumpList(out, n->child[1]);
        break;
    case OP_CALL:
        dumpChild(out, n->child[1]);
        out += ' ';
        dumpList(out, n->child[0]);
        break;
    case OP_COND:
    case OP_IF:
    case OP_TRY:
        dumpPayload(out, n, 3);
        break;
    case OP_WHILE:
    case OP_DO:
    case OP_SWITCH:
        dumpPayload(out, n, 2);
        break;
    case OP_FOR:
        dumpPayload(out, n, 4);
        break;
    case OP_ALLRANGE:
    case OP_DEFAULT:
    case OP_BREAK:
    case OP_CONTINUE:
        break;
    case OP_RETURN:
    case OP_CASE:
    case OP_NEG:
    case OP_TRANS:
    case OP_NOT:
    case OP_ANY:
    case OP_ALL:
    case OP_PREINC:
    case OP_POSTINC:
    case OP_PREDEC:
    case OP_POSTDEC:
        if (n->child[0] != nullptr) dumpChild(out, n->child[0]);
        break;
    default:
        dumpChild(out, n->child[0]);
        dumpChild(out, n->child[1]);
        break;
    }
    out += ')';
}

}  // namespace

const char* kindName(int kind) {
    if (kind < OP_NUM || kind > OP_LINPUT) return "?";
    return kNames[kind];
}

std::string dumpNode(const Node* n) {
    if (n == nullptr) return std::string(1, '-');
    std::string out;
    dump(out, n);
    return out;
}

std::string dumpTree(const Context& program) {
    std::string out;
    for (const Node* s : program) {
        dump(out, s);
        out += '\n';
    }
    return out;
}
