// Shared set-up for the core tests: the headless backend, a clean window system and
// draw log before each test, and the game's own shut-down after it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "Application.h"
#include "Graphics.h"
#include "SceneBase.h"
#include "SceneManager.h"

class GameCoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Application::create as program entry calls it, answering the start-up question.
    bool startApplication(int fullScreenAnswer = IDNO);
    // Runs the game's real entry point; `perFrame` scripts each frame before its update.
    int runWinMain(std::function<void(int frame)> perFrame);
    // Releases whatever a test left behind, in the game's shut-down order.
    void shutDown();
};

// A scene that only counts and measures: its update pretends to work for workMs of
// the virtual clock, and it notes how many frames had been presented at each call.
class ProbeScene : public SceneBase {
public:
    explicit ProbeScene(DWORD workMs);
    SceneId Update() override;
    void Draw() override;

    DWORD workMs;
    int updates = 0;
    int draws = 0;
    unsigned long presentsAtLastUpdate = 0;
    unsigned long presentsAtLastDraw = 0;
};

// Replaces the running scene with one the test controls (the manager owns it).
void installScene(SceneBase* scene);
