// A bounding-volume hierarchy over the faces of one mesh, built once with the mesh's
// picking data. It answers exactly what a scan over all faces with intersectTriangle
// answers (same face, U, V and distance, the same tie rule), in logarithmic time.
#pragma once

#include "TriangleRay.h"

#include <cstdint>
#include <vector>

namespace velmora::d3dx {

class FaceBvh {
public:
    // Faces in index-buffer order; face i must carry face index i.
    explicit FaceBvh(std::vector<Triangle> faces);

    bool nearest(const Ray& ray, RayHit& hit) const;
    // Every hit, in face order.
    void all(const Ray& ray, std::vector<RayHit>& hits) const;

    // Every face, in the BVH's own order.
    const std::vector<Triangle>& faces() const { return faces_; }

private:
    struct Box {
        double side[2][3];  // the smallest corner, then the largest
    };
    struct Node {
        // Inner node: its children's boxes side by side, childSides[side][axis][child], so
        // that one pass of the slab test serves both.
        double childSides[2][3][2];
        uint32_t first;  // leaf: first face in faces_; inner node: index of the left child
        uint32_t count;  // leaf: number of faces; 0 for an inner node (right child = left + 1)
    };
    // Per-ray values the box test needs.
    struct Slabs {
        explicit Slabs(const Ray& ray);
        double origin[3];
        double invDir[3];
        int nearSide[3];  // the side of each axis' slab the ray enters by (0 smallest, 1 largest)
    };

    void build(uint32_t node, const Box& box, uint32_t first, uint32_t count, std::vector<double>& centroids,
               int depth);
    // Reorders the faces of a node for its two children; returns how many go to the left
    // one, or 0 when the node stays a leaf.
    uint32_t split(uint32_t first, uint32_t count, std::vector<double>& centroids, double nodeArea);
    Box boundsOf(uint32_t first, uint32_t count) const;

    // Entry distance (>= 0) when the ray meets the box within [0, inf).
    static bool enter(const Box& box, const Slabs& slabs, double& entry);
    // enter() for both children of an inner node: bit 0 of the result for the left child,
    // bit 1 for the right one, with their entry distances.
    static int enterChildren(const Node& node, const Slabs& slabs, double entries[2]);

    std::vector<Triangle> faces_;  // reordered into leaf order
    Box rootBox_;
    std::vector<Node> nodes_;      // the root first; the two children of a node side by side
    double padding_ = 0.0;
};

}  // namespace velmora::d3dx
