// Measures screenshots for the ship tests' shell scripts and prints plain numbers:
//   shot_probe size  IMG                      -> width height covered-pixels
//   shot_probe stats IMG X Y W H              -> meanR meanG meanB lumaStdDev distinctColours
//   shot_probe count IMG X Y W H KIND         -> pixels of that colour kind
//   shot_probe diff  IMG1 IMG2 X Y W H        -> mean absolute luma difference
//   shot_probe shift IMG1 IMG2 X Y W H MAX    -> sideways shift of IMG2's content from IMG1's
//   shot_probe crop  IMG X Y W H OUT          -> writes the region as a PNG
// Exit 2 on bad arguments or an unreadable picture.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Picture.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: shot_probe size|stats|count|diff|shift|crop ...\n");
    return 2;
}

bool loadOrSay(ship::Picture& picture, const char* path) {
    if (picture.load(path)) return true;
    std::fprintf(stderr, "shot_probe: cannot read %s\n", path);
    return false;
}

ship::Region regionFrom(char** at) {
    return ship::Region{std::atoi(at[0]), std::atoi(at[1]), std::atoi(at[2]), std::atoi(at[3])};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string command = argv[1];
    ship::Picture first;
    if (!loadOrSay(first, argv[2])) return 2;

    if (command == "size" && argc == 3) {
        std::printf("%d %d %d\n", first.width(), first.height(), first.alphaCovered());
        return 0;
    }
    if (command == "stats" && argc == 7) {
        const ship::RegionStats s = first.stats(regionFrom(argv + 3));
        std::printf("%.2f %.2f %.2f %.2f %d\n", s.meanR, s.meanG, s.meanB, s.lumaStdDev, s.distinctColours);
        return 0;
    }
    if (command == "count" && argc == 8) {
        bool known = false;
        ship::isColourKind(ship::Rgb{0, 0, 0}, argv[7], &known);
        if (!known) return usage();
        std::printf("%d\n", first.count(regionFrom(argv + 3), argv[7]));
        return 0;
    }
    if (command == "crop" && argc == 8) {
        return first.writePng(argv[7], regionFrom(argv + 3)) ? 0 : 2;
    }
    if ((command == "diff" && argc == 8) || (command == "shift" && argc == 9)) {
        ship::Picture second;
        if (!loadOrSay(second, argv[3])) return 2;
        if (second.width() != first.width() || second.height() != first.height()) {
            std::fprintf(stderr, "shot_probe: the pictures differ in size\n");
            return 2;
        }
        if (command == "diff") {
            std::printf("%.3f\n", first.difference(second, regionFrom(argv + 4)));
        } else {
            std::printf("%d\n", first.horizontalShift(second, regionFrom(argv + 4), std::atoi(argv[8])));
        }
        return 0;
    }
    return usage();
}
