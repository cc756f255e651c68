// The boss. Placeholder: it sleeps in its corner.
#pragma once

#include "CharaBase.h"

class PillBugs : public CharaBase {
public:
    PillBugs();

    void Update() override;
    void Draw() override;
};
