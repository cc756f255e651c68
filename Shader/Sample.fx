// The model shader: a textured mesh lit by one directional light, with an ambient term and
// a Blinn-Phong highlight. Every mesh of the game is drawn through it. The light is worked
// out for every pixel from the normal blended across the triangle, so that highlights and
// the edge of the lit side keep their shape on coarse meshes too.
//
// Format: @technique and @parameter lines, then the GLSL 3.30 vertex and fragment stages.
// Each stage starts with the platform's prelude (the vertex inputs inPosition, inNormal,
// inTexCoord; d3dPosition(); d3dFragment()) and a uniform per parameter. Matrices are
// D3DX row-vector matrices: in GLSL, M * v applies them. The texture is sampled with the
// filters the game set on the device.

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

@vertex
out vec3 worldPosition;
out vec3 worldNormal;
out vec2 texCoord;
// The same for every pixel: worked out at the corners, not at every pixel.
flat out vec3 toLight;

void main() {
    toLight = -normalize(LightDir);
    vec4 world = mW * vec4(inPosition, 1.0);
    // Normals go through the inverse transpose of the world matrix, so that the arena's
    // uneven scaling keeps them perpendicular to its surfaces: the cofactor matrix (columns:
    // cross products of the other two columns) over the determinant, of which only the sign
    // is left once the normal is normalised.
    mat3 linear = mat3(mW);
    mat3 cofactors = mat3(cross(linear[1], linear[2]), cross(linear[2], linear[0]), cross(linear[0], linear[1]));
    float handedness = dot(linear[0], cofactors[0]) < 0.0 ? -1.0 : 1.0;
    worldNormal = normalize(cofactors * inNormal * handedness);
    worldPosition = world.xyz;
    texCoord = inTexCoord;
    gl_Position = d3dPosition(mP * (mV * world));
}

@fragment
in vec3 worldPosition;
in vec3 worldNormal;
in vec2 texCoord;
flat in vec3 toLight;
out vec4 fragColor;

void main() {
    // Blended between the corners the normal is shorter than 1. Square roots and divisions
    // are the dearest steps of a pixel on a CPU rasteriser: rather than making each vector
    // whole, the lengths are divided out of the two cosines, together.
    float normalLength2 = dot(worldNormal, worldNormal);
    float facing = dot(worldNormal, toLight);
    float diffuse = max(facing, 0.0) * inversesqrt(normalLength2);
    // The halfway vector between the light and the eye, times the eye's distance.
    vec3 toEye = CamPos - worldPosition;
    vec3 halfway = toLight * length(toEye) + toEye;
    float highlight = dot(worldNormal, halfway) * inversesqrt(normalLength2 * dot(halfway, halfway));
    float specular = facing > 0.0 ? pow(max(highlight, 0.0), max(MateSpePower, 1.0)) : 0.0;
    vec3 diffuseLight = MateDiffuse.rgb * (LightColor.rgb * diffuse + LightAmbient.rgb);
    vec3 specularLight = LightSpecular.rgb * MateSpecular.rgb * specular;
    vec4 texel = texture(MateDiffuseTex, texCoord);
    fragColor = d3dFragment(vec4(clamp(texel.rgb * diffuseLight + specularLight, 0.0, 1.0), texel.a * MateDiffuse.a));
}
