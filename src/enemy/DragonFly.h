// The common flying enemy. Placeholder: it hovers where it is born.
#pragma once

#include "CharaBase.h"

class DragonFly : public CharaBase {
public:
    explicit DragonFly(float speed);

    void Update() override;
    void Draw() override;
};
