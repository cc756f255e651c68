#include "EffectProgram.h"

#include "d3d9/GlProgram.h"
#include "d3d9/GlslPrelude.h"

#include <epoxy/gl.h>

namespace velmora::d3dxfx {

namespace {

const char* glslType(EffectParameterType type) {
    switch (type) {
    case EffectParameterType::Matrix: return "mat4";
    case EffectParameterType::Float: return "float";
    case EffectParameterType::Float2: return "vec2";
    case EffectParameterType::Float3: return "vec3";
    case EffectParameterType::Float4: return "vec4";
    case EffectParameterType::Texture: break;
    }
    return "sampler2D";
}

// What goes between the prelude and a stage: the macros, the parameters' uniforms, and a
// #line so that the compiler counts the stage's lines as the file does.
std::string declarations(const EffectSource& source, const D3DXMACRO* defines, int firstLine) {
    std::string text;
    for (const D3DXMACRO* d = defines; d && d->Name; ++d)
        text += std::string("#define ") + d->Name + " " + (d->Definition ? d->Definition : "") + "\n";
    for (const auto& p : source.parameters) text += std::string("uniform ") + glslType(p.type) + " " + p.name + ";\n";
    text += "#line " + std::to_string(firstLine) + "\n";
    return text;
}

}  // namespace

EffectProgram* EffectProgram::build(const EffectSource& source, const D3DXMACRO* defines, const std::string& fileName,
                                    std::string& log) {
    std::string compilerLog;
    const unsigned program = d3d9::buildGlProgram(
        d3d9::vertexPrelude() + declarations(source, defines, source.vertexFirstLine) + source.vertexStage,
        d3d9::fragmentPrelude() + declarations(source, defines, source.fragmentFirstLine) + source.fragmentStage,
        compilerLog);
    if (!program) {
        log = fileName + ": " + compilerLog;
        return nullptr;
    }
    std::vector<int> locations;
    glUseProgram(program);
    GLint stage = 0;
    for (const auto& p : source.parameters) {
        const int location = glGetUniformLocation(program, p.name.c_str());
        locations.push_back(location);
        if (p.type == EffectParameterType::Texture) glUniform1i(location, stage++);
    }
    return new EffectProgram(program, std::move(locations));
}

EffectProgram::~EffectProgram() { glDeleteProgram(program_); }

}  // namespace velmora::d3dxfx
