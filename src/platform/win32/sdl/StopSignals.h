// SIGTERM, SIGINT and SIGHUP (kill, Ctrl+C in the terminal, the terminal closed) end the
// game as its close box does, so that it ends its own way: a recording gets its end. A
// second one ends the process at once, as it would by default.
#pragma once

namespace velmora::win32 {

class StopSignals {
public:
    static void install();
    // True once for each signal that came.
    static bool takeRequest();
};

}  // namespace velmora::win32
