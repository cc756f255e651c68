// The headless backend: no pixels; every Clear and draw goes into the draw log with the
// state it was made with.
#pragma once

#include "Renderer.h"

namespace velmora::d3d9 {

class HeadlessRenderer final : public Renderer {
public:
    void clear(const ClearCall& call) override;
    void draw(const DrawCall& call) override;
    void present() override;
    bool readBack(std::vector<BYTE>& rgba, UINT& width, UINT& height) override;
};

}  // namespace velmora::d3d9
