// The model shader, HLSL for Direct3D 9: a textured mesh lit by one directional light, with
// an ambient term and a Blinn-Phong highlight, worked out for every pixel from the normal
// blended across the triangle. Every mesh of the game is drawn through it (technique
// "Tech", pass 0). It matches the GLSL Shader/Sample.fx of the Linux build term for term.
//
// Matrices are D3DX row-vector matrices set with SetMatrix: mul(v, M) applies them.

float4x4 mW;
float4x4 mV;
float4x4 mP;

float3 LightDir;
float4 LightColor;
float4 LightAmbient;
float4 LightSpecular;
float3 CamPos;

float4 MateDiffuse;
float4 MateSpecular;
float MateSpePower;
texture MateDiffuseTex;

// The filters and the addressing are the ones the device was given
// (Graphics::setDefaultStates: trilinear, wrapping).
sampler DiffuseSampler = sampler_state
{
    Texture = <MateDiffuseTex>;
};

struct VertexIn
{
    float3 position : POSITION;
    float3 normal : NORMAL;
    float2 texCoord : TEXCOORD0;
};

struct VertexOut
{
    float4 position : POSITION;
    float2 texCoord : TEXCOORD0;
    float3 worldPosition : TEXCOORD1;
    float3 worldNormal : TEXCOORD2;
};

VertexOut VS(VertexIn input)
{
    VertexOut output;
    float4 world = mul(float4(input.position, 1.0), mW);
    // Normals go through the inverse transpose of the world matrix, so that the arena's
    // uneven scaling keeps them perpendicular to its surfaces. For row vectors that is the
    // cofactor matrix (rows: cross products of the other two rows) over the determinant;
    // once the normal is normalised only the determinant's sign is left of it.
    float3 row0 = mW[0].xyz;
    float3 row1 = mW[1].xyz;
    float3 row2 = mW[2].xyz;
    float3x3 cofactors = float3x3(cross(row1, row2), cross(row2, row0), cross(row0, row1));
    float handedness = step(0.0, dot(row0, cross(row1, row2))) * 2.0 - 1.0;
    output.worldNormal = normalize(mul(input.normal, cofactors) * handedness);
    output.worldPosition = world.xyz;
    output.texCoord = input.texCoord;
    output.position = mul(mul(world, mV), mP);
    return output;
}

float4 PS(VertexOut input) : COLOR0
{
    // Blended between the corners the normal is shorter than 1: it is made whole again.
    float3 normal = normalize(input.worldNormal);
    float3 toLight = -normalize(LightDir);
    float3 toEye = normalize(CamPos - input.worldPosition);
    float facing = dot(normal, toLight);
    float diffuse = max(facing, 0.0);
    // The highlight only on the lit side: 1 - step(facing, 0) is 1 exactly when facing > 0.
    float3 halfway = normalize(toLight + toEye);
    float specular = pow(max(dot(normal, halfway), 0.0), max(MateSpePower, 1.0)) * (1.0 - step(facing, 0.0));
    float3 diffuseLight = MateDiffuse.rgb * (LightColor.rgb * diffuse + LightAmbient.rgb);
    float3 highlight = LightSpecular.rgb * MateSpecular.rgb * specular;
    float4 texel = tex2D(DiffuseSampler, input.texCoord);
    return float4(saturate(texel.rgb * diffuseLight + highlight), texel.a * MateDiffuse.a);
}

technique Tech
{
    pass P0
    {
        VertexShader = compile vs_2_0 VS();
        PixelShader = compile ps_2_0 PS();
    }
}
