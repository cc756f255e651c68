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

void main() {
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
out vec4 fragColor;

void main() {
    // Blended between the corners the normal is shorter than 1: it is made whole again.
    vec3 normal = normalize(worldNormal);
    vec3 toLight = -normalize(LightDir);
    vec3 toEye = normalize(CamPos - worldPosition);
    float diffuse = max(dot(normal, toLight), 0.0);
    float specular = 0.0;
    if (diffuse > 0.0) {
        vec3 halfway = normalize(toLight + toEye);
        specular = pow(max(dot(normal, halfway), 0.0), max(MateSpePower, 1.0));
    }
    vec3 diffuseLight = MateDiffuse.rgb * (LightColor.rgb * diffuse + LightAmbient.rgb);
    vec3 highlight = LightSpecular.rgb * MateSpecular.rgb * specular;
    vec4 texel = texture(MateDiffuseTex, texCoord);
    fragColor = d3dFragment(vec4(clamp(texel.rgb * diffuseLight + highlight, 0.0, 1.0), texel.a * MateDiffuse.a));
}
