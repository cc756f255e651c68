// The program's command line, in the usual Linux form. Parsing only: main acts on it.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace velmora {

struct CommandLine {
    enum class Action { Play, Help, Version, Invalid };
    Action action = Action::Play;
    std::string error;    // Invalid: what was wrong, for the player
    std::string dataDir;  // --data DIR
    std::string recordFile;  // --record FILE
    std::string replayFile;  // --replay FILE
    // Settings by their file names, in the order given: --mouse-speed=2 is
    // {"mouse_speed", "2"}; --windowed and --fullscreen answer the start-up question.
    std::vector<std::pair<std::string, std::string>> settings;
};

CommandLine parseCommandLine(int argc, const char* const* argv);

// Usage and the controls, as --help prints them.
void printUsage(std::FILE* out);

}  // namespace velmora
