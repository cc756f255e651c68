// Writes the application icon as a PNG: icongen <output.png> <size in pixels>.
#include <cstdio>
#include <cstdlib>

#include "Canvas.h"
#include "SpiderIcon.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <output.png> <size>\n", argv[0]);
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
