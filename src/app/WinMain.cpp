#include <windows.h>

#include "Application.h"
#include "ComRelease.h"
#include "Graphics.h"
#include "SceneManager.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    Application& application = Application::get();
    if (!application.create(instance, 1280, 720)) return 0;

    g_sceneManager = new SceneManager;
    application.run();

    // The scene goes first (a running play deletes its objects), then the effect,
    // then the device that everything was made on.
    delete g_sceneManager;
    g_sceneManager = nullptr;
    releaseInterface(application.modelEffect.effect);
    application.modelEffect.whiteTexture.release();
    Graphics::get().release();
    return 0;
}
