// The C runtime's _splitpath: "C:" only when a colon follows the first character, the
// directory up to and including the last '/' or '\', the extension from the last dot
// of the file name on. Each part is cut to its _MAX_ size so that a long path can
// never overrun the caller's buffers.
#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

void copyPart(char* out, size_t capacity, const char* begin, const char* end) {
    if (!out) return;
    size_t length = std::min(static_cast<size_t>(end - begin), capacity - 1);
    std::memcpy(out, begin, length);
    out[length] = '\0';
}

}  // namespace

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext) {
    if (!path) path = "";

    const char* rest = path;
    if (rest[0] != '\0' && rest[1] == ':') {
        copyPart(drive, _MAX_DRIVE, rest, rest + 2);
        rest += 2;
    } else {
        copyPart(drive, _MAX_DRIVE, rest, rest);
    }

    const char* nameStart = rest;
    for (const char* p = rest; *p; ++p)
        if (*p == '/' || *p == '\\') nameStart = p + 1;
    copyPart(dir, _MAX_DIR, rest, nameStart);

    const char* end = nameStart + std::strlen(nameStart);
    const char* dot = end;
    for (const char* p = nameStart; *p; ++p)
        if (*p == '.') dot = p;
    copyPart(fname, _MAX_FNAME, nameStart, dot);
    copyPart(ext, _MAX_EXT, dot, end);
}
