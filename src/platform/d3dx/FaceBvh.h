// A bounding-volume hierarchy over the faces of one mesh, built once per mesh data. It
// answers exactly what a scan over all faces with intersectTriangle answers (same face,
// U, V and distance, the same tie rule), in logarithmic time.
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

    size_t faceCount() const { return faces_.size(); }
    // Every face, in the BVH's own order.
    const std::vector<Triangle>& faces() const { return faces_; }
    size_t memoryBytes() const;

private:
    struct Box {
        double side[2][3];  // the smallest corner, then the largest
    };
    struct Node {
        uint32_t first;  // leaf: first face in faces_; inner node: index of the left child
        uint32_t count;  // leaf: number of faces; 0 for an inner node (right child = left + 1)
    };
    // Per-ray values the box test needs.
    struct Slabs {
        explicit Slabs(const Ray& ray);
        double origin[3];
        double invDir[3];
        bool flat[3];     // the ray does not move along this axis
        int nearSide[3];  // the side of each axis' slab the ray enters by (0 smallest, 1 largest)
    };

    void build(uint32_t node, uint32_t first, uint32_t count, std::vector<double>& centroids, int depth);
    // Reorders the faces of a node for its two children; returns how many go to the left
    // one, or 0 when the node stays a leaf.
    uint32_t split(uint32_t first, uint32_t count, std::vector<double>& centroids, double nodeArea);
    Box boundsOf(uint32_t first, uint32_t count) const;
    // The boxes of an inner node's two children side by side, so that one pass of the
    // slab test serves both: side[s][axis] holds side s of the left and of the right child.
    struct ChildBoxes {
        alignas(16) double side[2][3][2];
    };

    // Entry distance (>= 0) when the ray meets the box within [0, inf).
    static bool enter(const Box& box, const Slabs& slabs, double& entry);
    // enter() for both children of an inner node at once, with the same products and
    // comparisons: bit 0 of the result for the left child, bit 1 for the right one.
    // FlatAxes has bit `axis` set for each axis the ray does not move along.
    template <int FlatAxes>
    static int enterBoth(const ChildBoxes& boxes, const Slabs& slabs, double entries[2]);
    template <int FlatAxes>
    bool search(const Slabs& slabs, const Ray& ray, RayHit& hit) const;
    // The child boxes of the inner node whose left child is `left`.
    const ChildBoxes& childBoxesOf(uint32_t left) const { return childBoxes_[(left - 1) / 2]; }

    std::vector<Triangle> faces_;  // reordered into leaf order
    std::vector<Node> nodes_;
    std::vector<Box> boxes_;              // by node
    std::vector<ChildBoxes> childBoxes_;  // children are made in pairs: nodes 1 and 2, 3 and 4, ...
    double padding_ = 0.0;
};

}  // namespace velmora::d3dx
