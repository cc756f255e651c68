// The GL programs of an effect's pass: the two stages with the device's prelude and the
// parameters' uniforms in front, compiled and linked in the device's context. One program
// is linked per alpha-test function the pass is drawn with, so that each compiles to what
// it needs: without the alpha test there is no discard, and llvmpipe can reject hidden
// pixels before it shades them.
#pragma once

#include "EffectSource.h"

#include <d3d9.h>
#include <d3dx9effect.h>

#include <array>
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

    // The program for draws with this alpha function (D3DCMP_ALWAYS while the test is off),
    // linked on first use in the current context; 0 when it does not build. It becomes the
    // program location() answers for.
    unsigned select(D3DCMPFUNC alphaFunc);
    // The uniform of parameter i in the selected program (-1 when the stages do not use it).
    int location(size_t parameter) const { return selected_->locations[parameter]; }

private:
    struct Linked {
        unsigned program = 0;
        std::vector<int> locations;
    };

    EffectProgram(const EffectSource& source, std::string vertexText, std::string fragmentText);
    // Links the variant for one alpha function; false with the log when it does not build.
    bool link(D3DCMPFUNC alphaFunc, std::string& log);

    std::vector<EffectParameterDecl> parameters_;
    std::string vertexText_;    // the vertex stage with everything in front of it
    std::string fragmentText_;  // the fragment stage with all but the prelude in front of it
    std::array<Linked, D3DCMP_ALWAYS + 1> linked_;  // by alpha function
    const Linked* selected_;
};

}  // namespace velmora::d3dxfx
