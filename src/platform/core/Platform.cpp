#include "velmora/Platform.h"

namespace velmora {

namespace {
bool g_offscreenAllowed = false;
}  // namespace

void allowOffscreenVideo(bool allow) { g_offscreenAllowed = allow; }
bool offscreenVideoAllowed() { return g_offscreenAllowed; }

}  // namespace velmora
