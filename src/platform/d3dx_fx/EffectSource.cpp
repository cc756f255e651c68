#include "EffectSource.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace velmora::d3dxfx {

namespace {

bool validIdentifier(const std::string& name) {
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_')) return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    // GLSL reserves names with two underscores and the gl_ prefix; the device's own start with velmora.
    return name.find("__") == std::string::npos && name.rfind("gl_", 0) != 0 && name.rfind("velmora", 0) != 0;
}

bool typeFromName(const std::string& name, EffectParameterType& type) {
    static const struct {
        const char* name;
        EffectParameterType type;
    } types[] = {{"matrix", EffectParameterType::Matrix}, {"float", EffectParameterType::Float},
                 {"float2", EffectParameterType::Float2}, {"float3", EffectParameterType::Float3},
                 {"float4", EffectParameterType::Float4}, {"texture", EffectParameterType::Texture}};
    for (const auto& t : types)
        if (name == t.name) {
            type = t.type;
            return true;
        }
    return false;
}

bool samplerStateFromNames(const std::string& state, const std::string& value, D3DSAMPLERSTATETYPE& type,
                           DWORD& number) {
    static const struct {
        const char* name;
        D3DSAMPLERSTATETYPE type;
        bool filter;
    } states[] = {{"MinFilter", D3DSAMP_MINFILTER, true},  {"MagFilter", D3DSAMP_MAGFILTER, true},
                  {"MipFilter", D3DSAMP_MIPFILTER, true},  {"AddressU", D3DSAMP_ADDRESSU, false},
                  {"AddressV", D3DSAMP_ADDRESSV, false}};
    static const struct {
        const char* name;
        DWORD value;
    } filters[] = {{"NONE", D3DTEXF_NONE}, {"POINT", D3DTEXF_POINT}, {"LINEAR", D3DTEXF_LINEAR},
                   {"ANISOTROPIC", D3DTEXF_ANISOTROPIC}},
      addresses[] = {{"WRAP", D3DTADDRESS_WRAP}, {"MIRROR", D3DTADDRESS_MIRROR}, {"CLAMP", D3DTADDRESS_CLAMP},
                     {"BORDER", D3DTADDRESS_BORDER}};
    for (const auto& s : states) {
        if (state != s.name) continue;
        type = s.type;
        for (const auto& v : s.filter ? filters : addresses)
            if (value == v.name) {
                number = v.value;
                return true;
            }
    }
    return false;
}

std::string trimmed(const std::string& line) {
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const size_t last = line.find_last_not_of(" \t");
    return line.substr(first, last - first + 1);
}

}  // namespace

unsigned floatCount(EffectParameterType type) {
    switch (type) {
    case EffectParameterType::Matrix: return 16;
    case EffectParameterType::Float: return 1;
    case EffectParameterType::Float2: return 2;
    case EffectParameterType::Float3: return 3;
    case EffectParameterType::Float4: return 4;
    case EffectParameterType::Texture: break;
    }
    return 0;
}

bool parseEffectSource(const std::string& text, const std::string& fileName, EffectSource& out, std::string& error) {
    enum class Section { Header, Vertex, Fragment } section = Section::Header;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    unsigned textures = 0;
    auto fail = [&](const std::string& message) {
        error = fileName + (lineNumber > 0 ? "(" + std::to_string(lineNumber) + ")" : std::string()) + ": " + message;
        return false;
    };

    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string content = trimmed(line);
        if (content == "@vertex") {
            if (section != Section::Header) return fail("@vertex must come once, after the header");
            section = Section::Vertex;
            out.vertexFirstLine = lineNumber + 1;
            continue;
        }
        if (content == "@fragment") {
            if (section != Section::Vertex) return fail("@fragment must come once, after the vertex stage");
            section = Section::Fragment;
            out.fragmentFirstLine = lineNumber + 1;
            continue;
        }
        if (section == Section::Vertex) {
            out.vertexStage += line + "\n";
            continue;
        }
        if (section == Section::Fragment) {
            out.fragmentStage += line + "\n";
            continue;
        }

        if (content.empty() || content.rfind("//", 0) == 0) continue;
        std::vector<std::string> words;
        std::istringstream split(content);
        for (std::string word; split >> word;) words.push_back(word);
        words.resize(std::max<size_t>(words.size(), 4));
        const std::string &directive = words[0], &first = words[1], &second = words[2], &extra = words[3];
        // The index of a declared parameter of the type, or -1.
        auto declared = [&out](const std::string& name, EffectParameterType type) {
            for (size_t i = 0; i < out.parameters.size(); ++i)
                if (out.parameters[i].name == name && out.parameters[i].type == type) return int(i);
            return -1;
        };
        if (directive == "@technique") {
            if (!out.technique.empty()) return fail("only one technique is supported");
            if (first.empty() || !second.empty() || !validIdentifier(first)) return fail("@technique needs one name");
            out.technique = first;
        } else if (directive == "@parameter") {
            EffectParameterType type;
            if (!typeFromName(first, type)) return fail("unknown parameter type '" + first + "'");
            if (!validIdentifier(second) || !extra.empty()) return fail("@parameter needs a type and one name");
            for (const auto& p : out.parameters)
                if (p.name == second) return fail("parameter '" + second + "' declared twice");
            if (type == EffectParameterType::Texture && ++textures > kMaxEffectTextures)
                return fail("more than " + std::to_string(kMaxEffectTextures) + " texture parameters");
            out.parameters.push_back({second, type});
        } else if (directive == "@sampler") {
            const int texture = declared(first, EffectParameterType::Texture);
            if (texture < 0) return fail("@sampler needs a texture parameter declared before it");
            EffectSamplerState state{size_t(texture), D3DSAMP_MINFILTER, 0};
            if (words.size() > 4 || !samplerStateFromNames(second, extra, state.type, state.value))
                return fail("@sampler needs a texture, a state and its value");
            out.samplerStates.push_back(state);
        } else {
            return fail("unexpected '" + content + "' in the header");
        }
    }

    lineNumber = 0;
    if (out.technique.empty()) return fail("no @technique");
    if (section == Section::Header) return fail("no @vertex stage");
    if (section == Section::Vertex) return fail("no @fragment stage");
    return true;
}

}  // namespace velmora::d3dxfx
