#include "ModelScene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Application.h"
#include "GallerySession.h"
#include "Graphics.h"

namespace gallery {
namespace {

const float kFieldOfView = D3DX_PI / 3;
const float kAspect = 1280.0f / 720.0f;

ID3DXEffect* effect() { return Application::get().modelEffect.effect; }

}  // namespace

ModelScene::ModelScene(D3DCOLOR background) {
    IDirect3DDevice9* device = Graphics::get().device;
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, background, 1.0f, 0);
    device->BeginScene();

    // The play's light: white, from (1, -1, 0), a third of ambient, white highlights.
    D3DXVECTOR3 direction(1, -1, 0);
    D3DXVec3Normalize(&direction, &direction);
    const D3DXVECTOR4 colour(1, 1, 1, 1), ambient(0.3f, 0.3f, 0.3f, 0), specular(1, 1, 1, 0);
    effect()->SetValue("LightDir", &direction, sizeof(float) * 3);
    effect()->SetVector("LightColor", &colour);
    effect()->SetVector("LightAmbient", &ambient);
    effect()->SetVector("LightSpecular", &specular);
}

void ModelScene::look(const D3DXVECTOR3& eye, const D3DXVECTOR3& at, float nearPlane, float farPlane) {
    const D3DXVECTOR3 up(0, 1, 0);
    eye_ = eye;
    D3DXMatrixLookAtLH(&view_, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection_, kFieldOfView, kAspect, nearPlane, farPlane);
    effect()->SetMatrix("mV", &view_);
    effect()->SetMatrix("mP", &projection_);
    effect()->SetValue("CamPos", &eye_, sizeof(float) * 3);
}

void ModelScene::frame(const std::vector<Part>& parts, const D3DXVECTOR3& direction) {
    D3DXVECTOR3 low(1e30f, 1e30f, 1e30f), high(-1e30f, -1e30f, -1e30f);
    for (const Part& part : parts)
        for (const D3DXVECTOR3& p : placedCorners(part)) {
            low = D3DXVECTOR3(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
            high = D3DXVECTOR3(std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z));
        }
    const D3DXVECTOR3 centre = (low + high) * 0.5f;
    const D3DXVECTOR3 half = (high - low) * 0.5f;
    const float radius = D3DXVec3Length(&half);
    D3DXVECTOR3 along;
    D3DXVec3Normalize(&along, &direction);
    // The box's sphere fits the picture's height with a little room around it.
    const float distance = radius / std::sin(kFieldOfView / 2) * 0.9f;
    look(centre - along * distance, centre, distance * 0.05f, distance * 3);
}

void ModelScene::draw(const Part& part) {
    effect()->SetMatrix("mW", &part.world);
    Application::get().modelEffect.drawMesh(*part.mesh);
}

void ModelScene::draw(const std::vector<Part>& parts) {
    for (const Part& part : parts) draw(part);
}

velmora::Image ModelScene::finish(const std::string& name) {
    Graphics::get().device->EndScene();
    velmora::Image image;
    EXPECT_TRUE(velmora::readBackBuffer(image));
    EXPECT_TRUE(velmora::writePng(image, GallerySession::picturePath(name))) << name;
    return image;
}

D3DXVECTOR3 ModelScene::project(const D3DXVECTOR3& point) const {
    D3DVIEWPORT9 viewport = {0, 0, 1280, 720, 0, 1};
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    D3DXVECTOR3 out;
    D3DXVec3Project(&out, &point, &viewport, &projection_, &view_, &identity);
    return out;
}

D3DXVECTOR2 ModelScene::lightInPicture() const {
    const D3DXVECTOR3 towardsLight(-1, 1, 0);
    const D3DXVECTOR3 right(view_._11, view_._21, view_._31), up(view_._12, view_._22, view_._32);
    return D3DXVECTOR2(D3DXVec3Dot(&towardsLight, &right), -D3DXVec3Dot(&towardsLight, &up));
}

std::vector<D3DXVECTOR3> placedCorners(const Part& part) {
    ID3DXMesh* mesh = part.mesh->mesh;
    std::vector<D3DXVECTOR3> corners;
    if (!mesh) return corners;
    void* data = nullptr;
    if (FAILED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &data))) return corners;
    D3DXVECTOR3 low(1e30f, 1e30f, 1e30f), high(-1e30f, -1e30f, -1e30f);
    const DWORD stride = mesh->GetNumBytesPerVertex();
    for (DWORD i = 0; i < mesh->GetNumVertices(); ++i) {
        const float* p = reinterpret_cast<const float*>(static_cast<const BYTE*>(data) + i * stride);
        low = D3DXVECTOR3(std::min(low.x, p[0]), std::min(low.y, p[1]), std::min(low.z, p[2]));
        high = D3DXVECTOR3(std::max(high.x, p[0]), std::max(high.y, p[1]), std::max(high.z, p[2]));
    }
    mesh->UnlockVertexBuffer();
    for (int k = 0; k < 8; ++k) {
        const D3DXVECTOR3 corner(k & 1 ? high.x : low.x, k & 2 ? high.y : low.y, k & 4 ? high.z : low.z);
        D3DXVECTOR3 placed;
        corners.push_back(*D3DXVec3TransformCoord(&placed, &corner, &part.world));
    }
    return corners;
}

D3DXMATRIX translation(float x, float y, float z) {
    D3DXMATRIX m;
    return *D3DXMatrixTranslation(&m, x, y, z);
}

D3DXMATRIX scaling(float s) { return scaling(s, s, s); }

D3DXMATRIX scaling(float x, float y, float z) {
    D3DXMATRIX m;
    return *D3DXMatrixScaling(&m, x, y, z);
}

D3DXMATRIX rotationX(float radians) {
    D3DXMATRIX m;
    return *D3DXMatrixRotationX(&m, radians);
}

D3DXMATRIX rotationY(float radians) {
    D3DXMATRIX m;
    return *D3DXMatrixRotationY(&m, radians);
}

D3DXMATRIX rotationZ(float radians) {
    D3DXMATRIX m;
    return *D3DXMatrixRotationZ(&m, radians);
}

}  // namespace gallery
