#include "XFileRefusal.h"

#include <cstdio>
#include <set>

namespace velmora::d3dx {

bool refuseXFile(const std::string& reason) {
    static std::set<std::string> logged;
    if (logged.insert(reason).second) std::fprintf(stderr, "velmora: .x file refused: %s\n", reason.c_str());
    return false;
}

}  // namespace velmora::d3dx
