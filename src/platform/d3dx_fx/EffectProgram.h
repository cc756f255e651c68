// The GL program of an effect's pass: the two stages with the device's prelude and the
// parameters' uniforms in front, compiled and linked in the device's context.
#pragma once

#include "EffectSource.h"

#include <d3dx9effect.h>

#include <string>
#include <vector>

namespace velmora::d3dxfx {

class EffectProgram {
public:
    // Null with the compiler's log (lines counted as in the file) when the stages do not
    // build. The device's GL context must be current.
    static EffectProgram* build(const EffectSource& source, const D3DXMACRO* defines, const std::string& fileName,
                                std::string& log);
    ~EffectProgram();
    EffectProgram(const EffectProgram&) = delete;
    EffectProgram& operator=(const EffectProgram&) = delete;

    unsigned program() const { return program_; }
    // The uniform of parameter i (-1 when the stages do not use it).
    int location(size_t parameter) const { return locations_[parameter]; }

private:
    EffectProgram(unsigned program, std::vector<int> locations)
        : program_(program), locations_(std::move(locations)) {}

    unsigned program_;
    std::vector<int> locations_;
};

}  // namespace velmora::d3dxfx
