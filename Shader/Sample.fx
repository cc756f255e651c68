// The model shader: per-pixel lighting of a textured mesh by one directional light, with
// an ambient term and a Blinn-Phong highlight. Every mesh of the game is drawn through it.
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

@vertex
out vec3 worldPosition;
out vec3 worldNormal;
out vec2 texCoord;

void main() {
    vec4 world = mW * vec4(inPosition, 1.0);
    worldPosition = world.xyz;
    // Normals go through the inverse transpose, so that the arena's uneven scaling keeps
    // them perpendicular to its surfaces.
    worldNormal = transpose(inverse(mat3(mW))) * inNormal;
    texCoord = inTexCoord;
    gl_Position = d3dPosition(mP * (mV * world));
}

@fragment
in vec3 worldPosition;
in vec3 worldNormal;
in vec2 texCoord;
out vec4 fragColor;

void main() {
    vec3 normal = normalize(worldNormal);
    vec3 toLight = -normalize(LightDir);
    vec3 toEye = normalize(CamPos - worldPosition);
    float diffuse = max(dot(normal, toLight), 0.0);
    float specular = 0.0;
    if (diffuse > 0.0) {
        vec3 halfway = normalize(toLight + toEye);
        specular = pow(max(dot(normal, halfway), 0.0), max(MateSpePower, 1.0));
    }
    vec4 texel = texture(MateDiffuseTex, texCoord);
    vec3 lit = texel.rgb * MateDiffuse.rgb * (LightColor.rgb * diffuse + LightAmbient.rgb)
             + LightSpecular.rgb * MateSpecular.rgb * specular;
    fragColor = d3dFragment(vec4(clamp(lit, 0.0, 1.0), texel.a * MateDiffuse.a));
}
