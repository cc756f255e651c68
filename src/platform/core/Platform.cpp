#include "velmora/Platform.h"

namespace velmora {

namespace {
bool g_offscreenAllowed = false;
unsigned long g_presentDurationMs = 0;
}  // namespace

void allowOffscreenVideo(bool allow) { g_offscreenAllowed = allow; }
bool offscreenVideoAllowed() { return g_offscreenAllowed; }

void setPresentDuration(unsigned long ms) { g_presentDurationMs = ms; }
unsigned long presentDuration() { return g_presentDurationMs; }

}  // namespace velmora
