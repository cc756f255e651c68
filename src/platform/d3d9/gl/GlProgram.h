// Compiling and linking a GLSL program from a vertex and a fragment stage. The effect
// compiler reports the log to the game as its compilation errors.
#pragma once

#include <string>

namespace velmora::d3d9 {

// The program's GL name, or 0 with the compiler's or linker's log in `log`. Each stage's
// log is headed by the stage's name.
unsigned buildGlProgram(const std::string& vertexSource, const std::string& fragmentSource, std::string& log);

}  // namespace velmora::d3d9
