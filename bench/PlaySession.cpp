#include "PlaySession.h"

#include <cstdlib>

#include <velmora/DrawLog.h>
#include <velmora/HeadlessAudio.h>
#include <velmora/HeadlessInput.h>

#include "Application.h"
#include "ComRelease.h"
#include "Graphics.h"
#include "SceneManager.h"
#include "Stage.h"
#include "SubField.h"

namespace bench {

namespace {

const SceneId PLAY_SCENE = 1;
const DWORD FRAME_MILLISECONDS = 16;

}  // namespace

DrawRecordingScope::DrawRecordingScope(bool on) : before_(velmora::drawRecording()) {
    velmora::setDrawRecording(on);
}

DrawRecordingScope::~DrawRecordingScope() { velmora::setDrawRecording(before_); }

PlaySession::PlaySession(velmora::Backend backend, Start start) : backend_(backend) {
    velmora::selectBackend(backend);
    if (backend == velmora::Backend::Real) {
        if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
        velmora::allowOffscreenVideo(true);
    }
    velmora::headless::resetWin32();
    velmora::audio::resetAudio();
    if (backend == velmora::Backend::Real) velmora::audio::useNoAudioDevice();
    velmora::resetDrawLog();
    velmora::headless::queueMessageBoxAnswer(IDNO);  // windowed
    if (!Application::get().create(nullptr, 1280, 720)) return;
    g_sceneManager = new SceneManager();
    if (start == Start::Play) restartPlay();
    ready_ = Application::get().modelEffect.effect != nullptr &&
             (start == Start::Title || g_subField.mesh.mesh != nullptr);
}

PlaySession::~PlaySession() {
    delete g_sceneManager;
    g_sceneManager = nullptr;
    Application& application = Application::get();
    releaseInterface(application.modelEffect.effect);
    application.modelEffect.whiteTexture.release();
    Graphics::get().release();
    velmora::audio::resetAudio();
    velmora::resetDrawLog();
    velmora::headless::resetWin32();
    velmora::allowOffscreenVideo(false);
}

void PlaySession::frame() {
    g_sceneManager->update();
    Graphics::get().device->Present(nullptr, nullptr, nullptr, nullptr);
    g_sceneManager->draw();
    if (backend_ == velmora::Backend::Headless) velmora::headless::advanceClock(FRAME_MILLISECONDS);
}

bool PlaySession::playing() const {
    return g_sceneManager->currentScene && g_sceneManager->currentScene->sceneId == PLAY_SCENE &&
           !g_stage.finished;
}

void PlaySession::restartPlay() { g_sceneManager->changeScene(PLAY_SCENE); }

ObjectList& PlaySession::objects() { return g_sceneManager->objects; }

CharaBase* PlaySession::player() {
    for (CharaBase* object : objects())
        if (object->Kind == KIND_PLAYER) return object;
    return nullptr;
}

void PlaySession::trimObjects(std::size_t count) {
    while (objects().size() > count) {
        CharaBase* last = objects().back();
        objects().pop_back();
        last->ReleaseMeshes();
        delete last;
    }
}

void PlaySession::placePlayer(float x, float y, float z) {
    CharaBase* body = player();
    if (!body) return;
    D3DXMatrixTranslation(&body->TransMatrix, x, y, z);
    body->WorldMatrix = body->TransMatrix;
}

}  // namespace bench
