// The game's start-up as the player gets it (real backend: SDL window, OpenGL device,
// model shader, title scene), for the start-up benchmark. The full-screen question is
// answered No without showing the box. On the descriptor given as the only argument it
// writes 'd' when the first title frame has been drawn (the next frame presents it
// right after its update), then 'p' at the start of the following frame, when that
// image is on the screen; then it quits as Escape would.
#include <windows.h>

#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>

#include <cstdlib>
#include <unistd.h>

namespace {

int g_report = -1;

void report(char mark) {
    if (g_report >= 0 && write(g_report, &mark, 1) != 1) g_report = -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    g_report = std::atoi(argv[1]);
    velmora::selectBackend(velmora::Backend::Real);
    if (!std::getenv("DISPLAY")) {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        velmora::allowOffscreenVideo(true);
    }
    velmora::headless::queueMessageBoxAnswer(IDNO);
    velmora::headless::onFrame([](int frame) {
        if (frame == 1) report('d');
        if (frame == 2) {
            report('p');
            velmora::headless::setKeyDown(VK_ESCAPE, true);
        }
    });
    static char module;
    char commandLine[] = "";
    return WinMain(reinterpret_cast<HINSTANCE>(&module), nullptr, commandLine, SW_SHOWDEFAULT);
}
