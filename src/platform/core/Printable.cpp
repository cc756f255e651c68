#include "velmora/Printable.h"

#include <cstdio>

namespace velmora {

namespace {

void appendEscaped(unsigned char c, std::string& out) {
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
    out += escaped;
}

// The length of the well-formed UTF-8 sequence of a printable character at `at`, or 0.
size_t utf8Letter(const std::string& text, size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead >= 0xf0 && lead <= 0xf4 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc2 ? 2 : 0;
    if (length == 0 || lead > 0xf4 || at + length > text.size()) return 0;
    unsigned long code = lead & (0x7f >> length);
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xc0) != 0x80) return 0;
        code = code << 6 | (next & 0x3f);
    }
    const unsigned long smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool wellFormed = code >= smallest[length] && code <= 0x10ffff && !(code >= 0xd800 && code <= 0xdfff);
    return wellFormed && code >= 0xa0 ? length : 0;
}

}  // namespace

std::string printable(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7f) out += static_cast<char>(c);
        else appendEscaped(c, out);
    }
    return out;
}

std::string printablePath(const std::string& path) {
    std::string out;
    for (size_t at = 0; at < path.size();) {
        const unsigned char c = static_cast<unsigned char>(path[at]);
        const size_t letter = c >= 0x80 ? utf8Letter(path, at) : 0;
        if (letter > 0) {
            out.append(path, at, letter);
            at += letter;
        } else {
            if (c >= 0x20 && c < 0x7f) out += static_cast<char>(c);
            else appendEscaped(c, out);
            ++at;
        }
    }
    return out;
}

}  // namespace velmora
