// The spider machine the user steers. Placeholder: it stands at its start point.
#pragma once

#include "CharaBase.h"

class Player : public CharaBase {
public:
    Player();

    void Update() override;
    void Draw() override;

    int Staggered;  // 1 from a non-lethal hit until it lands again
};
