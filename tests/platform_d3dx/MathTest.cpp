#include <d3dx9.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kTol = 1e-5f;

void expectVec(const D3DXVECTOR3& v, float x, float y, float z, float tol = kTol) {
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

void expectMatrixNear(const D3DXMATRIX& a, const D3DXMATRIX& b, float tol = kTol) {
    for (UINT r = 0; r < 4; ++r)
        for (UINT c = 0; c < 4; ++c) EXPECT_NEAR(a(r, c), b(r, c), tol) << "element " << r << "," << c;
}

D3DXVECTOR3 transformPoint(const D3DXVECTOR3& p, const D3DXMATRIX& m) {
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &p, &m);
    return out;
}

TEST(D3DXMath, RotationYTurnsForwardIntoSinCosAndHeadingComesBack) {
    for (float theta : {-3.0f, -2.0f, -0.5f, 0.0f, 0.7f, 1.5f, 2.9f}) {
        D3DXMATRIX rot;
        D3DXMatrixRotationY(&rot, theta);
        const D3DXVECTOR3 turned = transformPoint(D3DXVECTOR3(0, 0, 1), rot);
        expectVec(turned, std::sin(theta), 0.0f, std::cos(theta));

        float heading = std::acos(turned.z);
        if (turned.x < 0) heading = -heading;
        EXPECT_NEAR(heading, theta, 1e-3f);
    }
}

TEST(D3DXMath, RotationsFollowTheLeftHandedRowVectorLayout) {
    D3DXMATRIX rx, rz;
    D3DXMatrixRotationX(&rx, D3DX_PI / 2);
    D3DXMatrixRotationZ(&rz, D3DX_PI / 2);
    // Looking down each axis, a positive angle turns clockwise in a left-handed frame.
    expectVec(transformPoint(D3DXVECTOR3(0, 1, 0), rx), 0, 0, 1);
    expectVec(transformPoint(D3DXVECTOR3(1, 0, 0), rz), 0, 1, 0);
}

TEST(D3DXMath, RotationAxisNormalisesItsAxis) {
    D3DXMATRIX byAxis, byY, byX;
    const D3DXVECTOR3 longY(0, 5, 0), tiltedX(3, 0, 0);
    D3DXMatrixRotationAxis(&byAxis, &longY, 0.8f);
    D3DXMatrixRotationY(&byY, 0.8f);
    expectMatrixNear(byAxis, byY);
    D3DXMatrixRotationAxis(&byAxis, &tiltedX, -1.1f);
    D3DXMatrixRotationX(&byX, -1.1f);
    expectMatrixNear(byAxis, byX);

    // A diagonal axis keeps points on it and turns the others around it.
    const D3DXVECTOR3 diagonal(1, 1, 1);
    D3DXMatrixRotationAxis(&byAxis, &diagonal, 2.0f * D3DX_PI / 3.0f);
    expectVec(transformPoint(D3DXVECTOR3(2, 2, 2), byAxis), 2, 2, 2);
    const D3DXVECTOR3 cycled = transformPoint(D3DXVECTOR3(1, 0, 0), byAxis);
    EXPECT_NEAR(D3DXVec3Length(&cycled), 1.0f, kTol);
    EXPECT_NEAR(cycled.x, 0.0f, kTol);
}

TEST(D3DXMath, MultiplyAppliesTheFirstMatrixFirst) {
    D3DXMATRIX scale, move, product;
    D3DXMatrixScaling(&scale, 2, 2, 2);
    D3DXMatrixTranslation(&move, 1, 0, 0);

    D3DXMatrixMultiply(&product, &scale, &move);
    expectVec(transformPoint(D3DXVECTOR3(1, 0, 0), product), 3, 0, 0);
    D3DXMatrixMultiply(&product, &move, &scale);
    expectVec(transformPoint(D3DXVECTOR3(1, 0, 0), product), 4, 0, 0);

    // The output may be one of the inputs, and the operator agrees with the function.
    D3DXMATRIX aliased = scale;
    EXPECT_EQ(D3DXMatrixMultiply(&aliased, &aliased, &move), &aliased);
    EXPECT_TRUE(aliased == scale * move);
    D3DXMATRIX accumulated = move;
    accumulated *= scale;
    EXPECT_TRUE(accumulated == move * scale);
}

TEST(D3DXMath, TranslationSitsInTheFourthRowAndScalingOnTheDiagonal) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, 4, 5, 6);
    EXPECT_EQ(m._41, 4.0f);
    EXPECT_EQ(m._42, 5.0f);
    EXPECT_EQ(m._43, 6.0f);
    EXPECT_EQ(m._14, 0.0f);
    EXPECT_EQ(m(3, 1), 5.0f);
    const FLOAT* flat = m;
    EXPECT_EQ(flat[12], 4.0f);

    D3DXMatrixScaling(&m, 2, 3, 4);
    EXPECT_EQ(m._11, 2.0f);
    EXPECT_EQ(m._22, 3.0f);
    EXPECT_EQ(m._33, 4.0f);
    EXPECT_EQ(m._44, 1.0f);
    EXPECT_EQ(m._12, 0.0f);
}

TEST(D3DXMath, InverseUndoesAWorldMatrix) {
    D3DXMATRIX scale, rot, move, world, inverse, product, identity;
    D3DXMatrixScaling(&scale, 3, 0.5f, 2);
    D3DXMatrixRotationY(&rot, 0.9f);
    D3DXMatrixTranslation(&move, 10, -4, 7);
    world = scale * rot * move;

    FLOAT det = 0;
    ASSERT_EQ(D3DXMatrixInverse(&inverse, &det, &world), &inverse);
    EXPECT_NEAR(det, 3.0f, 1e-4f);
    D3DXMatrixMultiply(&product, &world, &inverse);
    expectMatrixNear(product, *D3DXMatrixIdentity(&identity));
    expectVec(transformPoint(transformPoint(D3DXVECTOR3(1, 2, 3), world), inverse), 1, 2, 3, 1e-4f);
    // The output may be the input.
    D3DXMATRIX inPlace = world;
    D3DXMatrixInverse(&inPlace, nullptr, &inPlace);
    EXPECT_TRUE(inPlace == inverse);

    // A general (projective) matrix round-trips as well.
    D3DXMATRIX general(2, 1, 0, 0.5f, 0, 3, 1, 0, 1, 0, 4, 0.25f, 5, 6, 7, 1), generalInv;
    ASSERT_NE(D3DXMatrixInverse(&generalInv, nullptr, &general), nullptr);
    expectMatrixNear(general * generalInv, identity);
    EXPECT_NEAR(D3DXMatrixDeterminant(&general), 1.0f / D3DXMatrixDeterminant(&generalInv), 1e-3f);
}

TEST(D3DXMath, InverseOfASingularMatrixFailsAndTouchesNothing) {
    D3DXMATRIX flat, out;
    D3DXMatrixScaling(&flat, 1, 0, 1);
    D3DXMatrixTranslation(&out, 9, 9, 9);
    const D3DXMATRIX before = out;
    FLOAT det = 42.0f;
    EXPECT_EQ(D3DXMatrixInverse(&out, &det, &flat), nullptr);
    EXPECT_TRUE(out == before);
    EXPECT_EQ(det, 42.0f);
}

TEST(D3DXMath, PerspectiveFovLHElements) {
    D3DXMATRIX p;
    D3DXMatrixPerspectiveFovLH(&p, D3DX_PI / 2, 2.0f, 1.0f, 101.0f);
    D3DXMATRIX expected(0.5f, 0, 0, 0,  //
                        0, 1, 0, 0,     //
                        0, 0, 1.01f, 1, //
                        0, 0, -1.01f, 0);
    expectMatrixNear(p, expected);

    // Depth runs from 0 at the near plane to 1 at the far plane.
    EXPECT_NEAR(transformPoint(D3DXVECTOR3(0, 0, 1), p).z, 0.0f, kTol);
    EXPECT_NEAR(transformPoint(D3DXVECTOR3(0, 0, 101), p).z, 1.0f, kTol);
}

TEST(D3DXMath, LookAtLHElements) {
    D3DXMATRIX view;
    const D3DXVECTOR3 eye(10, 0, 0), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    // Looking down -x: right is +z, up stays +y, forward is -x.
    D3DXMATRIX expected(0, 0, -1, 0,  //
                        0, 1, 0, 0,   //
                        1, 0, 0, 0,   //
                        0, 0, 10, 1);
    expectMatrixNear(view, expected);

    const D3DXVECTOR3 eye2(1, 2, -5), at2(1, 2, 5);
    D3DXMatrixLookAtLH(&view, &eye2, &at2, &up);
    D3DXMATRIX shifted;
    D3DXMatrixTranslation(&shifted, -1, -2, 5);
    expectMatrixNear(view, shifted);
}

TEST(D3DXMath, OrthoProjectionsMapTheBoxToClipSpace) {
    D3DXMATRIX ortho;
    D3DXMatrixOrthoOffCenterLH(&ortho, 0.5f, 1280.5f, 720.5f, 0.5f, 0.0f, 1.0f);
    expectVec(transformPoint(D3DXVECTOR3(0.5f, 0.5f, 0), ortho), -1, 1, 0);
    expectVec(transformPoint(D3DXVECTOR3(1280.5f, 720.5f, 1), ortho), 1, -1, 1);

    D3DXMatrixOrthoLH(&ortho, 20, 10, 2, 12);
    expectVec(transformPoint(D3DXVECTOR3(10, -5, 12), ortho), 1, -1, 1);
    expectVec(transformPoint(D3DXVECTOR3(0, 0, 2), ortho), 0, 0, 0);
}

TEST(D3DXMath, NormalizeLeavesZeroAtZero) {
    D3DXVECTOR3 v(3, 0, 4), out(7, 7, 7);
    D3DXVec3Normalize(&out, &v);
    expectVec(out, 0.6f, 0, 0.8f);
    const D3DXVECTOR3 zero(0, 0, 0);
    EXPECT_EQ(D3DXVec3Normalize(&out, &zero), &out);
    EXPECT_TRUE(out == zero);
    D3DXVec3Normalize(&v, &v);
    expectVec(v, 0.6f, 0, 0.8f);
}

TEST(D3DXMath, TransformCoordDividesByWAndTransformNormalIgnoresTranslation) {
    D3DXMATRIX m;
    D3DXMatrixScaling(&m, 2, 2, 2);
    m._41 = 1;
    m._44 = 2;  // w = 2 for every point
    expectVec(transformPoint(D3DXVECTOR3(1, 2, 3), m), 1.5f, 2.0f, 3.0f);

    D3DXVECTOR3 n;
    const D3DXVECTOR3 dir(1, 2, 3);
    D3DXVec3TransformNormal(&n, &dir, &m);
    expectVec(n, 2, 4, 6);  // neither translated nor renormalised

    D3DXVECTOR4 h;
    D3DXVec3Transform(&h, &dir, &m);
    EXPECT_FLOAT_EQ(h.x, 3);
    EXPECT_FLOAT_EQ(h.w, 2);
}

TEST(D3DXMath, ProjectGivesViewportPixels) {
    const D3DVIEWPORT9 viewport = {0, 0, 1280, 720, 0.0f, 1.0f};
    D3DXMATRIX proj, view, world;
    D3DXMatrixPerspectiveFovLH(&proj, D3DX_PI / 2, 1280.0f / 720.0f, 1.0f, 100.0f);
    D3DXMatrixIdentity(&view);
    D3DXMatrixTranslation(&world, 0, 0, 10);

    D3DXVECTOR3 screen;
    const D3DXVECTOR3 origin(0, 0, 0);
    D3DXVec3Project(&screen, &origin, &viewport, &proj, &view, &world);
    EXPECT_NEAR(screen.x, 640.0f, 1e-3f);
    EXPECT_NEAR(screen.y, 360.0f, 1e-3f);
    EXPECT_NEAR(screen.z, (100.0f / 99.0f) * (1.0f - 1.0f / 10.0f), kTol);

    // At depth 10 with a 90 degree vertical field, y = 10 is the top edge of the screen
    // and x = 10 * aspect the right edge.
    const D3DXVECTOR3 corner(10.0f * 1280.0f / 720.0f, 10.0f, 0);
    D3DXVec3Project(&screen, &corner, &viewport, &proj, &view, &world);
    EXPECT_NEAR(screen.x, 1280.0f, 1e-2f);
    EXPECT_NEAR(screen.y, 0.0f, 1e-2f);

    const D3DVIEWPORT9 offset = {100, 50, 200, 100, 0.5f, 1.0f};
    D3DXVec3Project(&screen, &origin, &offset, &proj, &view, &world);
    EXPECT_NEAR(screen.x, 200.0f, 1e-3f);
    EXPECT_NEAR(screen.y, 100.0f, 1e-3f);
    EXPECT_NEAR(screen.z, 0.5f + 0.5f * (100.0f / 99.0f) * 0.9f, kTol);
}

TEST(D3DXMath, VectorAndMatrixOperators) {
    const D3DXVECTOR3 a(1, 2, 3), b(4, 5, 6);
    EXPECT_TRUE(a + b == D3DXVECTOR3(5, 7, 9));
    EXPECT_TRUE(b - a == D3DXVECTOR3(3, 3, 3));
    EXPECT_TRUE(-a == D3DXVECTOR3(-1, -2, -3));
    EXPECT_TRUE(2.0f * a == a * 2.0f);
    EXPECT_TRUE(b / 2.0f == D3DXVECTOR3(2, 2.5f, 3));
    EXPECT_TRUE(a != b);
    EXPECT_FLOAT_EQ(D3DXVec3Dot(&a, &b), 32.0f);
    D3DXVECTOR3 cross;
    D3DXVec3Cross(&cross, &a, &b);
    EXPECT_TRUE(cross == D3DXVECTOR3(-3, 6, -3));
    D3DXVECTOR3 sum;
    D3DXVec3Scale(&sum, D3DXVec3Add(&sum, &a, &b), 2.0f);
    EXPECT_TRUE(sum == D3DXVECTOR3(10, 14, 18));
    EXPECT_FLOAT_EQ(D3DXVec3LengthSq(&a), 14.0f);

    D3DXMATRIX m, twice;
    D3DXMatrixTranslation(&m, 1, 2, 3);
    twice = m + m;
    EXPECT_TRUE(twice == m * 2.0f);
    EXPECT_TRUE(twice / 2.0f == m);
    EXPECT_TRUE((-m)(3, 2) == -3.0f);
    EXPECT_TRUE(twice - m == m);
    D3DXMATRIX transposed;
    D3DXMatrixTranspose(&transposed, &m);
    EXPECT_EQ(transposed._14, 1.0f);
    EXPECT_EQ(transposed._41, 0.0f);

    const D3DXCOLOR colour(0x80FF4000u);
    EXPECT_FLOAT_EQ(colour.r, 1.0f);
    EXPECT_NEAR(colour.a, 128.0f / 255.0f, 1e-6f);
    EXPECT_EQ((DWORD)colour, 0x80FF4000u);
    EXPECT_EQ((DWORD)D3DXCOLOR(2.0f, -1.0f, 0.5f, 1.0f), 0xFFFF0080u);
}

}  // namespace
