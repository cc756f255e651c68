// A .x file refused for what it would cost: the first refusal for each reason is logged,
// so that a mesh a player dropped in and never sees can be traced.
#pragma once

#include <string>

namespace velmora::d3dx {

// Logs `reason` (once) and returns false.
bool refuseXFile(const std::string& reason);

}  // namespace velmora::d3dx
