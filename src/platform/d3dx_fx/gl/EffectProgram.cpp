#include "EffectProgram.h"

#include "d3d9/gl/GlProgram.h"
#include "d3d9/gl/GlslPrelude.h"

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

EffectProgram::EffectProgram(const EffectSource& source, std::string vertexText, std::string fragmentText)
    : parameters_(source.parameters),
      vertexText_(std::move(vertexText)),
      fragmentText_(std::move(fragmentText)),
      selected_(&linked_[D3DCMP_ALWAYS]) {}

EffectProgram* EffectProgram::build(const EffectSource& source, const D3DXMACRO* defines, const std::string& fileName,
                                    std::string& log) {
    auto* built = new EffectProgram(
        source, d3d9::vertexPrelude() + declarations(source, defines, source.vertexFirstLine) + source.vertexStage,
        declarations(source, defines, source.fragmentFirstLine) + source.fragmentStage);
    // The stages are checked as the game draws most: without the alpha test.
    std::string compilerLog;
    if (!built->link(D3DCMP_ALWAYS, compilerLog)) {
        delete built;
        log = fileName + ": " + compilerLog;
        return nullptr;
    }
    return built;
}

bool EffectProgram::link(D3DCMPFUNC alphaFunc, std::string& log) {
    const unsigned program =
        d3d9::buildGlProgram(vertexText_, d3d9::fragmentPrelude(alphaFunc) + fragmentText_, log);
    if (!program) return false;
    Linked& linked = linked_[alphaFunc];
    linked.program = program;
    glUseProgram(program);
    GLint stage = 0;
    for (const auto& p : parameters_) {
        const int location = glGetUniformLocation(program, p.name.c_str());
        linked.locations.push_back(location);
        if (p.type == EffectParameterType::Texture) glUniform1i(location, stage++);
    }
    return true;
}

unsigned EffectProgram::select(D3DCMPFUNC alphaFunc) {
    // A value that names no function passes nothing.
    if (alphaFunc < D3DCMP_NEVER || alphaFunc > D3DCMP_ALWAYS) alphaFunc = D3DCMP_NEVER;
    std::string log;
    if (!linked_[alphaFunc].program && !link(alphaFunc, log)) return 0;
    selected_ = &linked_[alphaFunc];
    return selected_->program;
}

EffectProgram::~EffectProgram() {
    for (const Linked& linked : linked_)
        if (linked.program) glDeleteProgram(linked.program);
}

}  // namespace velmora::d3dxfx
