// The player's thread. Placeholder: it stays home.
#pragma once

#include "CharaBase.h"

class SpiderLine : public CharaBase {
public:
    SpiderLine();

    void Update() override;
    void Draw() override;
};
