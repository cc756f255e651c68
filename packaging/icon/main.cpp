// Writes the application icon:
//   icongen <output.png> <size in pixels>   one picture, for the desktop
//   icongen <output.ico>                    16, 32, 48 and 256 pixels, for the Windows program
// Each size is painted on its own, so that the small ones stay sharp.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Canvas.h"
#include "SpiderIcon.h"

namespace {

std::vector<uint8_t> paintPng(int size) {
    icon::Canvas canvas(size, size);
    icon::paintSpiderIcon(canvas);
    return canvas.encodePng();
}

void put16(std::vector<uint8_t>& out, unsigned value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void put32(std::vector<uint8_t>& out, unsigned value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// An .ico file whose images are PNG streams (read by Windows Vista and later).
bool writeIco(const std::string& path) {
    const int sizes[] = {16, 32, 48, 256};
    const unsigned count = sizeof sizes / sizeof sizes[0];
    std::vector<std::vector<uint8_t>> images;
    for (int size : sizes) {
        images.push_back(paintPng(size));
        if (images.back().empty()) return false;
    }
    std::vector<uint8_t> file;
    put16(file, 0);  // reserved
    put16(file, 1);  // an icon, not a cursor
    put16(file, count);
    unsigned offset = 6 + 16 * count;
    for (unsigned i = 0; i < count; ++i) {
        const uint8_t side = sizes[i] >= 256 ? 0 : static_cast<uint8_t>(sizes[i]);  // 0 stands for 256
        file.push_back(side);
        file.push_back(side);
        file.push_back(0);  // no palette
        file.push_back(0);
        put16(file, 1);   // planes
        put16(file, 32);  // bits per pixel
        put32(file, static_cast<unsigned>(images[i].size()));
        put32(file, offset);
        offset += static_cast<unsigned>(images[i].size());
    }
    for (const std::vector<uint8_t>& image : images) file.insert(file.end(), image.begin(), image.end());

    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && endsWith(argv[1], ".ico")) {
        if (writeIco(argv[1])) return 0;
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <output.png> <size> | %s <output.ico>\n", argv[0], argv[0]);
        return 2;
    }
    const int size = std::atoi(argv[2]);
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "icon size must be between 16 and 1024 pixels\n");
        return 2;
    }
    icon::Canvas canvas(size, size);
    icon::paintSpiderIcon(canvas);
    if (!canvas.writePng(argv[1])) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
