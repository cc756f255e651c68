// The set-up every game test shares: the headless backend with a clean window system,
// sound system and draw log before each test, and the game's own shut-down after it.
// The start-up steps are there for a test (or a whole-run environment) to take as far
// as it needs: the application alone, the play's object list, the arena.
#pragma once

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include <windows.h>

#include "CharaBase.h"
#include "SceneManager.h"

namespace gametest {

class GameFixture : public ::testing::Test {
public:
    static void resetHeadless();
    // Application::create as program entry calls it, answering the start-up question.
    static bool startApplication(int fullScreenAnswer = IDNO);
    // A windowed application and a scene manager whose object list the test fills.
    static void startWorld();
    // The generated arena and the projection the Stage sets up for it.
    static void loadArena();
    // Releases whatever a test left behind, in the game's shut-down order.
    static void shutDown();

protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the game's real entry point; `perFrame` scripts each frame before its update.
    int runWinMain(std::function<void(int frame)> perFrame);
    // A whole windowed game from the entry point with the virtual clock starting at
    // `clockStart`, until the script presses Escape or `frameLimit` frames have passed.
    int play(DWORD clockStart, int frameLimit, std::function<void(int frame)> script);

    ObjectList& objects() { return g_sceneManager->objects; }
    template <class T>
    T* add(T* object) {
        objects().push_back(object);
        return object;
    }
};

}  // namespace gametest
