// One gallery picture of meshes lit by the model shader: the shader's view, projection and
// light parameters set as the play sets them (light from (1, -1, 0), ambient 0.3), meshes
// drawn with ModelEffect::drawMesh under their world matrices, and the finished back
// buffer read back and written as a PNG.
#pragma once

#include <d3dx9.h>

#include <velmora/Screenshot.h>

#include <string>
#include <vector>

#include "Mesh.h"

namespace gallery {

// A mesh placed in the world.
struct Part {
    const Mesh* mesh;
    D3DXMATRIX world;
};

class ModelScene {
public:
    // Clears to the background colour and begins the scene.
    explicit ModelScene(D3DCOLOR background);

    // The view, with the play's field of view (60 degrees) and the screen's aspect ratio.
    void look(const D3DXVECTOR3& eye, const D3DXVECTOR3& at, float nearPlane, float farPlane);
    // Looks along `direction` at the parts so that all of them fill most of the picture.
    void frame(const std::vector<Part>& parts, const D3DXVECTOR3& direction);

    void draw(const Part& part);
    void draw(const std::vector<Part>& parts);

    // Ends the scene; the picture drawn, also written to the gallery folder.
    velmora::Image finish(const std::string& name);

    // Where a world point lands on the picture, in pixels (z: 0..1 in front of the camera).
    D3DXVECTOR3 project(const D3DXVECTOR3& point) const;
    // Where the light comes from, as a direction in the picture (x right, y down).
    D3DXVECTOR2 lightInPicture() const;

private:
    D3DXMATRIX view_, projection_;
    D3DXVECTOR3 eye_;
};

// Corners of the box around the mesh's vertices, placed by the world matrix.
std::vector<D3DXVECTOR3> placedCorners(const Part& part);

D3DXMATRIX translation(float x, float y, float z);
D3DXMATRIX scaling(float s);
D3DXMATRIX scaling(float x, float y, float z);
D3DXMATRIX rotationX(float radians);
D3DXMATRIX rotationY(float radians);
D3DXMATRIX rotationZ(float radians);

}  // namespace gallery
