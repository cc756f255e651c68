#include "Seeds.h"

namespace {

const char* const kSmallest = "@technique Tech\n@vertex\nvoid main() { d3dPosition(vec4(inPosition, 1.0)); }\n"
                              "@fragment\nvoid main() { d3dFragment(vec4(1.0)); }\n";

const char* const kEveryType =
    "// every parameter type\r\n@technique Tech\r\n@parameter matrix mW\r\n@parameter float MateSpePower\r\n"
    "@parameter float2 Offset\r\n@parameter float3 LightDir\r\n@parameter float4 MateDiffuse\r\n"
    "@parameter texture MateDiffuseTex\r\n\r\n@vertex\r\nout vec2 uv;\r\n"
    "void main() { uv = inTexCoord; d3dPosition(mW * vec4(inPosition, 1.0)); }\r\n"
    "@fragment\r\nin vec2 uv;\r\nvoid main() { d3dFragment(texture(MateDiffuseTex, uv) * MateDiffuse); }\r\n";

const char* const kTooManyTextures =
    "@technique T\n@parameter texture t0\n@parameter texture t1\n@parameter texture t2\n@parameter texture t3\n"
    "@parameter texture t4\n@parameter texture t5\n@parameter texture t6\n@parameter texture t7\n"
    "@parameter texture t8\n@vertex\n@fragment\n";

}  // namespace

void writeEffectSeeds(const std::filesystem::path& shaderFolder, const SeedWriter& out) {
    for (const auto& path : filesUnder(shaderFolder, {".fx"})) out.write("game-" + path.filename().string(), readFile(path));
    out.write("smallest.fx", kSmallest);
    out.write("every-type.fx", kEveryType);
    out.write("too-many-textures.fx", kTooManyTextures);
    out.write("no-fragment.fx", "@technique Tech\n@parameter float4 c\n@vertex\nvoid main() {}\n");
    out.write("twice.fx", "@technique Tech\n@parameter float a\n@parameter float3 a\n@vertex\n@fragment\n");
    out.write("bad-names.fx", "@technique gl_Tech\n@parameter matrix __m\n@parameter float4 velmoraX\n@vertex\n@fragment\n");
}
