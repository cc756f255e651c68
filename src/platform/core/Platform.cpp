#include "velmora/Platform.h"

namespace velmora {

namespace {
Backend g_backend = Backend::Real;
bool g_offscreenAllowed = false;
}  // namespace

void selectBackend(Backend backend) { g_backend = backend; }
Backend backend() { return g_backend; }

void allowOffscreenVideo(bool allow) { g_offscreenAllowed = allow; }
bool offscreenVideoAllowed() { return g_offscreenAllowed; }

}  // namespace velmora
