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

private:
    struct Box {
        double min[3];
        double max[3];
    };
    struct Node {
        Box box;
        uint32_t first;  // leaf: first face in faces_; inner node: index of the left child
        uint32_t count;  // leaf: number of faces; 0 for an inner node (right child = left + 1)
    };
    // Per-ray values the box test needs.
    struct Slabs {
        explicit Slabs(const Ray& ray);
        double origin[3];
        double invDir[3];
        bool flat[3];  // the ray does not move along this axis
    };

    void build(uint32_t node, uint32_t first, uint32_t count, std::vector<double>& centroids, int depth);
    // Reorders the faces of a node for its two children; returns how many go to the left
    // one, or 0 when the node stays a leaf.
    uint32_t split(uint32_t first, uint32_t count, std::vector<double>& centroids, double nodeArea);
    Box boundsOf(uint32_t first, uint32_t count) const;
    // Entry distance (>= 0) when the ray meets the box within [0, inf).
    static bool enter(const Box& box, const Slabs& slabs, double& entry);

    std::vector<Triangle> faces_;  // reordered into leaf order
    std::vector<Node> nodes_;
    double padding_ = 0.0;
};

}  // namespace velmora::d3dx
