// The D3DX matrix and vector functions. Row vectors: a point p becomes p * M, so
// Multiply(A, B) applies A first. Outputs may alias inputs.
#include <d3dx9math.h>

#include "crt/PortableMath.h"

namespace {

// Cofactor expansion in double: world matrices of the game are inverted every frame for
// every ray query, and double keeps round-off out of the distances those queries return.
struct Inverse4 {
    double det;
    double adjugate[4][4];
};

Inverse4 computeAdjugate(const D3DXMATRIX& m) {
    double a[4][4];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) a[r][c] = m.m[r][c];

    // 2x2 minors of the lower two rows and of the upper two rows.
    const double s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    const double s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    const double s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    const double s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    const double s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    const double s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    const double c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    const double c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    const double c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    const double c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    const double c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    const double c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];

    Inverse4 inv;
    inv.det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;

    double(&b)[4][4] = inv.adjugate;
    b[0][0] = a[1][1] * c5 - a[1][2] * c4 + a[1][3] * c3;
    b[0][1] = -a[0][1] * c5 + a[0][2] * c4 - a[0][3] * c3;
    b[0][2] = a[3][1] * s5 - a[3][2] * s4 + a[3][3] * s3;
    b[0][3] = -a[2][1] * s5 + a[2][2] * s4 - a[2][3] * s3;
    b[1][0] = -a[1][0] * c5 + a[1][2] * c2 - a[1][3] * c1;
    b[1][1] = a[0][0] * c5 - a[0][2] * c2 + a[0][3] * c1;
    b[1][2] = -a[3][0] * s5 + a[3][2] * s2 - a[3][3] * s1;
    b[1][3] = a[2][0] * s5 - a[2][2] * s2 + a[2][3] * s1;
    b[2][0] = a[1][0] * c4 - a[1][1] * c2 + a[1][3] * c0;
    b[2][1] = -a[0][0] * c4 + a[0][1] * c2 - a[0][3] * c0;
    b[2][2] = a[3][0] * s4 - a[3][1] * s2 + a[3][3] * s0;
    b[2][3] = -a[2][0] * s4 + a[2][1] * s2 - a[2][3] * s0;
    b[3][0] = -a[1][0] * c3 + a[1][1] * c1 - a[1][2] * c0;
    b[3][1] = a[0][0] * c3 - a[0][1] * c1 + a[0][2] * c0;
    b[3][2] = -a[3][0] * s3 + a[3][1] * s1 - a[3][2] * s0;
    b[3][3] = a[2][0] * s3 - a[2][1] * s1 + a[2][2] * s0;
    return inv;
}

D3DXVECTOR3 normalized(const D3DXVECTOR3& v) {
    D3DXVECTOR3 out;
    D3DXVec3Normalize(&out, &v);
    return out;
}

// A rotation about one axis turns the plane of the other two, from axis `from` towards
// axis `to` (X: y to z, Y: z to x, Z: x to y).
D3DXMATRIX* rotationInPlane(D3DXMATRIX* pOut, FLOAT angle, int from, int to) {
    const FLOAT c = portable_cosf(angle), s = portable_sinf(angle);
    D3DXMatrixIdentity(pOut);
    pOut->m[from][from] = c;
    pOut->m[from][to] = s;
    pOut->m[to][from] = -s;
    pOut->m[to][to] = c;
    return pOut;
}

}  // namespace

D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1, const D3DXMATRIX* pM2) {
    D3DXMATRIX product;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            product.m[r][c] = pM1->m[r][0] * pM2->m[0][c] + pM1->m[r][1] * pM2->m[1][c] +
                              pM1->m[r][2] * pM2->m[2][c] + pM1->m[r][3] * pM2->m[3][c];
    *pOut = product;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM) {
    D3DXMATRIX transposed;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) transposed.m[r][c] = pM->m[c][r];
    *pOut = transposed;
    return pOut;
}

FLOAT WINAPI D3DXMatrixDeterminant(const D3DXMATRIX* pM) { return (FLOAT)computeAdjugate(*pM).det; }

D3DXMATRIX* WINAPI D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant, const D3DXMATRIX* pM) {
    const Inverse4 inv = computeAdjugate(*pM);
    // Only an exactly singular matrix fails; the output and the determinant stay untouched.
    if (inv.det == 0.0) return nullptr;
    if (pDeterminant) *pDeterminant = (FLOAT)inv.det;
    const double scale = 1.0 / inv.det;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) pOut->m[r][c] = (FLOAT)(inv.adjugate[r][c] * scale);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z) {
    D3DXMatrixIdentity(pOut);
    pOut->_41 = x;
    pOut->_42 = y;
    pOut->_43 = z;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz) {
    D3DXMatrixIdentity(pOut);
    pOut->_11 = sx;
    pOut->_22 = sy;
    pOut->_33 = sz;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT angle) { return rotationInPlane(pOut, angle, 1, 2); }

D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT angle) { return rotationInPlane(pOut, angle, 2, 0); }

D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT angle) { return rotationInPlane(pOut, angle, 0, 1); }

D3DXMATRIX* WINAPI D3DXMatrixRotationAxis(D3DXMATRIX* pOut, const D3DXVECTOR3* pV, FLOAT angle) {
    const D3DXVECTOR3 a = normalized(*pV);
    const FLOAT c = portable_cosf(angle), s = portable_sinf(angle), t = 1.0f - c;
    D3DXMatrixIdentity(pOut);
    pOut->_11 = t * a.x * a.x + c;
    pOut->_12 = t * a.x * a.y + s * a.z;
    pOut->_13 = t * a.x * a.z - s * a.y;
    pOut->_21 = t * a.y * a.x - s * a.z;
    pOut->_22 = t * a.y * a.y + c;
    pOut->_23 = t * a.y * a.z + s * a.x;
    pOut->_31 = t * a.z * a.x + s * a.y;
    pOut->_32 = t * a.z * a.y - s * a.x;
    pOut->_33 = t * a.z * a.z + c;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT aspect, FLOAT zn, FLOAT zf) {
    const FLOAT yScale = 1.0f / portable_tanf(fovy / 2.0f);
    D3DXMatrixIdentity(pOut);
    pOut->_11 = yScale / aspect;
    pOut->_22 = yScale;
    pOut->_33 = zf / (zf - zn);
    pOut->_34 = 1.0f;
    pOut->_43 = (zf * zn) / (zn - zf);
    pOut->_44 = 0.0f;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye, const D3DXVECTOR3* pAt,
                                      const D3DXVECTOR3* pUp) {
    const D3DXVECTOR3 zAxis = normalized(*pAt - *pEye);
    D3DXVECTOR3 xAxis, yAxis;
    D3DXVec3Cross(&xAxis, pUp, &zAxis);
    xAxis = normalized(xAxis);
    D3DXVec3Cross(&yAxis, &zAxis, &xAxis);

    D3DXMatrixIdentity(pOut);
    pOut->_11 = xAxis.x;
    pOut->_21 = xAxis.y;
    pOut->_31 = xAxis.z;
    pOut->_12 = yAxis.x;
    pOut->_22 = yAxis.y;
    pOut->_32 = yAxis.z;
    pOut->_13 = zAxis.x;
    pOut->_23 = zAxis.y;
    pOut->_33 = zAxis.z;
    pOut->_41 = -D3DXVec3Dot(&xAxis, pEye);
    pOut->_42 = -D3DXVec3Dot(&yAxis, pEye);
    pOut->_43 = -D3DXVec3Dot(&zAxis, pEye);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixOrthoLH(D3DXMATRIX* pOut, FLOAT w, FLOAT h, FLOAT zn, FLOAT zf) {
    D3DXMatrixIdentity(pOut);
    pOut->_11 = 2.0f / w;
    pOut->_22 = 2.0f / h;
    pOut->_33 = 1.0f / (zf - zn);
    pOut->_43 = zn / (zn - zf);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixOrthoOffCenterLH(D3DXMATRIX* pOut, FLOAT l, FLOAT r, FLOAT b, FLOAT t, FLOAT zn,
                                              FLOAT zf) {
    D3DXMatrixIdentity(pOut);
    pOut->_11 = 2.0f / (r - l);
    pOut->_22 = 2.0f / (t - b);
    pOut->_33 = 1.0f / (zf - zn);
    pOut->_41 = (l + r) / (l - r);
    pOut->_42 = (t + b) / (b - t);
    pOut->_43 = zn / (zn - zf);
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV) {
    const FLOAT length = D3DXVec3Length(pV);
    if (length == 0.0f)
        *pOut = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    else
        *pOut = *pV / length;
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    const D3DXVECTOR4 v(pV->x, pV->y, pV->z, 1.0f);
    return D3DXVec4Transform(pOut, &v, pM);
}

D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    D3DXVECTOR4 h;
    D3DXVec3Transform(&h, pV, pM);
    *pOut = D3DXVECTOR3(h.x / h.w, h.y / h.w, h.z / h.w);
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DXMATRIX* pM) {
    const D3DXVECTOR3 v = *pV;
    pOut->x = v.x * pM->_11 + v.y * pM->_21 + v.z * pM->_31;
    pOut->y = v.x * pM->_12 + v.y * pM->_22 + v.z * pM->_32;
    pOut->z = v.x * pM->_13 + v.y * pM->_23 + v.z * pM->_33;
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Project(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV, const D3DVIEWPORT9* pViewport,
                                    const D3DXMATRIX* pProjection, const D3DXMATRIX* pView,
                                    const D3DXMATRIX* pWorld) {
    // A missing matrix counts as the identity.
    D3DXMATRIX combined;
    D3DXMatrixIdentity(&combined);
    if (pWorld) combined *= *pWorld;
    if (pView) combined *= *pView;
    if (pProjection) combined *= *pProjection;

    D3DXVECTOR3 p;
    D3DXVec3TransformCoord(&p, pV, &combined);
    if (pViewport) {
        p.x = pViewport->X + (1.0f + p.x) * pViewport->Width / 2.0f;
        p.y = pViewport->Y + (1.0f - p.y) * pViewport->Height / 2.0f;
        p.z = pViewport->MinZ + p.z * (pViewport->MaxZ - pViewport->MinZ);
    }
    *pOut = p;
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec4Transform(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV, const D3DXMATRIX* pM) {
    const D3DXVECTOR4 v = *pV;
    pOut->x = v.x * pM->_11 + v.y * pM->_21 + v.z * pM->_31 + v.w * pM->_41;
    pOut->y = v.x * pM->_12 + v.y * pM->_22 + v.z * pM->_32 + v.w * pM->_42;
    pOut->z = v.x * pM->_13 + v.y * pM->_23 + v.z * pM->_33 + v.w * pM->_43;
    pOut->w = v.x * pM->_14 + v.y * pM->_24 + v.z * pM->_34 + v.w * pM->_44;
    return pOut;
}
