// The play's camera: turns with the mouse, follows the player from behind and above,
// trails behind a player pulled along the thread, sets the view, and fades the screen
// to black when the play is lost or won before telling the Stage to end it.
#pragma once

#include "CharaBase.h"
#include "Texture.h"

class TestCamera : public CharaBase {
public:
    TestCamera();
    ~TestCamera() override;

    void Update() override;
    // May end the play, which deletes every object including this camera.
    void Draw() override;

    D3DXMATRIX FollowMatrix;  // look rotation x the player's TransMatrix
    D3DXVECTOR3 LookAt;
    D3DXVECTOR3 Up;
    Texture FadeImage;
    D3DXMATRIX FollowHistory[5];  // [0] one frame old ... [4] five frames old
    POINT CursorHome;             // screen point the cursor is put back to every frame
    POINT CursorNow;
    D3DXVECTOR3 FollowPos;        // the followed (player's) position

private:
    void turnWithMouse(const CharaBase* player);
    void followNormally();
    void followTrailing();
    // Draws the black overlay at FadeAlpha; true once the fade is complete.
    bool fadeStep();
};
