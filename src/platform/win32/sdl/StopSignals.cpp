#include "StopSignals.h"

#include <csignal>

namespace velmora::win32 {

namespace {

volatile std::sig_atomic_t requested = 0;

extern "C" void onStopSignal(int signal) {
    requested = 1;
    std::signal(signal, SIG_DFL);
}

}  // namespace

void StopSignals::install() {
    std::signal(SIGTERM, onStopSignal);
    std::signal(SIGINT, onStopSignal);
#ifdef SIGHUP  // not on Windows
    std::signal(SIGHUP, onStopSignal);
#endif
}

bool StopSignals::takeRequest() {
    if (!requested) return false;
    requested = 0;
    return true;
}

}  // namespace velmora::win32
