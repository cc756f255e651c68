// The model shader: a textured mesh lit by one directional light, with an ambient term and
// a Blinn-Phong highlight. Every mesh of the game is drawn through it. The light is worked
// out at the vertices and blended across each triangle (Gouraud shading): a software
// renderer fills the screen several times faster so, and the game's surfaces are either
// finely tessellated or barely shiny, so it looks the same as lighting every pixel.
//
// Format: @technique and @parameter lines, then the GLSL 3.30 vertex and fragment stages.
// Each stage starts with the platform's prelude (the vertex inputs inPosition, inNormal,
// inTexCoord; d3dPosition(); d3dFragment()) and a uniform per parameter. Matrices are
// D3DX row-vector matrices: in GLSL, M * v applies them.

@technique Tech

@parameter matrix mW
@parameter matrix mV
@parameter matrix mP
@parameter float3 LightDir
@parameter float4 LightColor
@parameter float4 LightAmbient
@parameter float4 LightSpecular
@parameter float3 CamPos
@parameter float4 MateDiffuse
@parameter float4 MateSpecular
@parameter float MateSpePower
@parameter texture MateDiffuseTex

// One mip level a pixel (no blend between two): on the game's tiled, soft textures it looks
// the same, and the software renderer reads half the texels.
@sampler MateDiffuseTex MipFilter POINT

@vertex
out vec3 diffuseLight;  // multiplies the texel
out vec3 highlight;     // added on top
out vec2 texCoord;

void main() {
    vec4 world = mW * vec4(inPosition, 1.0);
    // Normals go through the inverse transpose of the world matrix, so that the arena's
    // uneven scaling keeps them perpendicular to its surfaces: the cofactor matrix (columns:
    // cross products of the other two columns) over the determinant, of which only the sign
    // is left once the normal is normalised.
    mat3 linear = mat3(mW);
    mat3 cofactors = mat3(cross(linear[1], linear[2]), cross(linear[2], linear[0]), cross(linear[0], linear[1]));
    float handedness = dot(linear[0], cofactors[0]) < 0.0 ? -1.0 : 1.0;
    vec3 normal = normalize(cofactors * inNormal * handedness);

    vec3 toLight = -normalize(LightDir);
    vec3 toEye = normalize(CamPos - world.xyz);
    float diffuse = max(dot(normal, toLight), 0.0);
    float specular = 0.0;
    if (diffuse > 0.0) {
        vec3 halfway = normalize(toLight + toEye);
        specular = pow(max(dot(normal, halfway), 0.0), max(MateSpePower, 1.0));
    }
    diffuseLight = MateDiffuse.rgb * (LightColor.rgb * diffuse + LightAmbient.rgb);
    highlight = LightSpecular.rgb * MateSpecular.rgb * specular;
    texCoord = inTexCoord;
    gl_Position = d3dPosition(mP * (mV * world));
}

@fragment
in vec3 diffuseLight;
in vec3 highlight;
in vec2 texCoord;
out vec4 fragColor;

void main() {
    vec4 texel = texture(MateDiffuseTex, texCoord);
    fragColor = d3dFragment(vec4(clamp(texel.rgb * diffuseLight + highlight, 0.0, 1.0), texel.a * MateDiffuse.a));
}
