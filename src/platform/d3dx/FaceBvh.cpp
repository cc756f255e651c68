#include "FaceBvh.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora::d3dx {

namespace {

// A node of up to this many faces may stay a leaf when splitting it would not pay.
constexpr uint32_t kMaxLeafFaces = 8;
constexpr int kMaxDepth = 60;
constexpr int kStackSize = kMaxDepth + 4;  // one pending sibling per level at most

constexpr double kInfinity = std::numeric_limits<double>::infinity();

constexpr int kBins = 16;

double surfaceArea(const double (&min)[3], const double (&max)[3]) {
    const double dx = max[0] - min[0], dy = max[1] - min[1], dz = max[2] - min[2];
    if (dx < 0 || dy < 0 || dz < 0) return 0.0;  // nothing hittable inside
    return 2.0 * (dx * dy + dy * dz + dz * dx);
}

struct Bin {
    uint32_t count = 0;
    double min[3] = {kInfinity, kInfinity, kInfinity};
    double max[3] = {-kInfinity, -kInfinity, -kInfinity};

    void add(const Bin& other) {
        count += other.count;
        for (int a = 0; a < 3; ++a) {
            min[a] = std::min(min[a], other.min[a]);
            max[a] = std::max(max[a], other.max[a]);
        }
    }
};

}  // namespace

FaceBvh::FaceBvh(std::vector<Triangle> faces) : faces_(std::move(faces)) {
    if (faces_.empty()) return;

    // Faces that can never hit stay out of the boxes; every other face lies inside every
    // box on its way down, with the padding.
    std::vector<double> centroids(faces_.size() * 3, 0.0);
    for (size_t f = 0; f < faces_.size(); ++f) {
        if (!hittable(faces_[f])) continue;
        double corners[3][3];
        cornersOf(faces_[f], corners);
        for (int axis = 0; axis < 3; ++axis)
            centroids[f * 3 + axis] = (corners[0][axis] + corners[1][axis] + corners[2][axis]) / 3.0;
    }
    padding_ = boxPadding(faces_);

    nodes_.reserve(2 * faces_.size());
    nodes_.push_back(Node{});
    rootBox_ = boundsOf(0, (uint32_t)faces_.size());
    build(0, rootBox_, 0, (uint32_t)faces_.size(), centroids, 0);
    nodes_.shrink_to_fit();
}

FaceBvh::Box FaceBvh::boundsOf(uint32_t first, uint32_t count) const {
    Box box;
    for (int axis = 0; axis < 3; ++axis) {
        box.side[0][axis] = kInfinity;
        box.side[1][axis] = -kInfinity;
    }
    for (uint32_t f = first; f < first + count; ++f) {
        if (!hittable(faces_[f])) continue;
        double corners[3][3];
        cornersOf(faces_[f], corners);
        for (auto& corner : corners)
            for (int axis = 0; axis < 3; ++axis) {
                box.side[0][axis] = std::min(box.side[0][axis], corner[axis] - padding_);
                box.side[1][axis] = std::max(box.side[1][axis], corner[axis] + padding_);
            }
    }
    return box;
}

uint32_t FaceBvh::split(uint32_t first, uint32_t count, std::vector<double>& centroids, double nodeArea) {
    double low[3] = {kInfinity, kInfinity, kInfinity}, high[3] = {-kInfinity, -kInfinity, -kInfinity};
    for (uint32_t f = first; f < first + count; ++f)
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], centroids[f * 3 + axis]);
            high[axis] = std::max(high[axis], centroids[f * 3 + axis]);
        }
    auto binOf = [&](uint32_t f, int axis) {
        const double scaled = (centroids[f * 3 + axis] - low[axis]) * kBins / (high[axis] - low[axis]);
        return std::clamp((int)scaled, 0, kBins - 1);
    };

    // Surface-area heuristic over binned face centres: the cut that makes a ray expect
    // the fewest face tests (a node visit counts as one test).
    double bestCost = kInfinity;
    int bestAxis = -1, bestBin = 0;
    for (int axis = 0; axis < 3; ++axis) {
        if (!(high[axis] > low[axis])) continue;
        Bin bins[kBins];
        for (uint32_t f = first; f < first + count; ++f) {
            Bin& bin = bins[binOf(f, axis)];
            ++bin.count;
            if (!hittable(faces_[f])) continue;
            double corners[3][3];
            cornersOf(faces_[f], corners);
            for (auto& corner : corners)
                for (int a = 0; a < 3; ++a) {
                    bin.min[a] = std::min(bin.min[a], corner[a]);
                    bin.max[a] = std::max(bin.max[a], corner[a]);
                }
        }
        Bin below[kBins];  // below[i]: bins 0 .. i-1
        for (int i = 1; i < kBins; ++i) {
            below[i] = below[i - 1];
            below[i].add(bins[i - 1]);
        }
        Bin above;
        for (int i = kBins - 1; i >= 1; --i) {
            above.add(bins[i]);
            if (below[i].count == 0 || above.count == 0) continue;
            const double cost = below[i].count * surfaceArea(below[i].min, below[i].max) +
                                above.count * surfaceArea(above.min, above.max);
            if (cost < bestCost) {
                bestCost = cost;
                bestAxis = axis;
                bestBin = i;
            }
        }
    }

    if (bestAxis < 0) return count <= kMaxLeafFaces ? 0 : count / 2;  // all centres coincide
    if (count <= kMaxLeafFaces && nodeArea > 0 && 1.0 + bestCost / nodeArea >= count) return 0;

    // Faces left of the cut first, each side in its present order.
    std::vector<uint32_t> order;
    order.reserve(count);
    for (uint32_t f = first; f < first + count; ++f)
        if (binOf(f, bestAxis) < bestBin) order.push_back(f);
    const uint32_t leftCount = (uint32_t)order.size();
    for (uint32_t f = first; f < first + count; ++f)
        if (binOf(f, bestAxis) >= bestBin) order.push_back(f);

    std::vector<Triangle> orderedFaces(count);
    std::vector<double> orderedCentres(count * 3);
    for (uint32_t i = 0; i < count; ++i) {
        orderedFaces[i] = faces_[order[i]];
        std::copy_n(&centroids[order[i] * 3], 3, &orderedCentres[i * 3]);
    }
    std::copy(orderedFaces.begin(), orderedFaces.end(), faces_.begin() + first);
    std::copy(orderedCentres.begin(), orderedCentres.end(), centroids.begin() + first * 3);
    return leftCount;
}

void FaceBvh::build(uint32_t node, const Box& box, uint32_t first, uint32_t count, std::vector<double>& centroids,
                    int depth) {
    const uint32_t leftCount =
        (count <= 1 || depth >= kMaxDepth) ? 0 : split(first, count, centroids, surfaceArea(box.side[0], box.side[1]));
    if (leftCount == 0) {
        nodes_[node].first = first;
        nodes_[node].count = count;
        return;
    }

    // The two children sit side by side; each subtree is appended after them.
    const uint32_t left = (uint32_t)nodes_.size();
    nodes_.resize(nodes_.size() + 2);
    const Box childBoxes[2] = {boundsOf(first, leftCount), boundsOf(first + leftCount, count - leftCount)};
    Node& parent = nodes_[node];
    parent.first = left;
    parent.count = 0;
    for (int side = 0; side < 2; ++side)
        for (int axis = 0; axis < 3; ++axis)
            for (int child = 0; child < 2; ++child)
                parent.childSides[side][axis][child] = childBoxes[child].side[side][axis];
    build(left, childBoxes[0], first, leftCount, centroids, depth + 1);
    build(left + 1, childBoxes[1], first + leftCount, count - leftCount, centroids, depth + 1);
}

// An axis the ray does not move along gets an infinite inverse (of the zero's sign): its
// slab then gives -inf or +inf, ruling the box in or out as the origin lies inside or
// outside it, or NaN for an origin on a side, which the comparisons below ignore (the
// origin is inside).
FaceBvh::Slabs::Slabs(const Ray& ray) {
    for (int axis = 0; axis < 3; ++axis) {
        origin[axis] = ray.origin[axis];
        invDir[axis] = 1.0 / ray.dir[axis];
        nearSide[axis] = std::signbit(invDir[axis]) ? 1 : 0;
    }
}

bool FaceBvh::enter(const Box& box, const Slabs& slabs, double& entry) {
    double near = 0.0, far = kInfinity;
    for (int axis = 0; axis < 3; ++axis) {
        const int nearSide = slabs.nearSide[axis];
        const double t0 = (box.side[nearSide][axis] - slabs.origin[axis]) * slabs.invDir[axis];
        const double t1 = (box.side[1 - nearSide][axis] - slabs.origin[axis]) * slabs.invDir[axis];
        near = t0 > near ? t0 : near;
        far = t1 < far ? t1 : far;
    }
    entry = near;
    return near <= far;
}

// The same sums as enter(), side by side for the two children, which the compiler can do
// in one pass.
inline int FaceBvh::enterChildren(const Node& node, const Slabs& slabs, double entries[2]) {
    double near[2] = {0.0, 0.0}, far[2] = {kInfinity, kInfinity};
    for (int axis = 0; axis < 3; ++axis) {
        const int nearSide = slabs.nearSide[axis];
        for (int child = 0; child < 2; ++child) {
            const double t0 = (node.childSides[nearSide][axis][child] - slabs.origin[axis]) * slabs.invDir[axis];
            const double t1 = (node.childSides[1 - nearSide][axis][child] - slabs.origin[axis]) * slabs.invDir[axis];
            near[child] = t0 > near[child] ? t0 : near[child];
            far[child] = t1 < far[child] ? t1 : far[child];
        }
    }
    entries[0] = near[0];
    entries[1] = near[1];
    return (near[0] <= far[0] ? 1 : 0) | (near[1] <= far[1] ? 2 : 0);
}

bool FaceBvh::nearest(const Ray& ray, RayHit& hit) const {
    if (nodes_.empty()) return false;
    const Slabs slabs(ray);
    struct Pending {
        uint32_t node;
        double entry;
    };
    Pending stack[kStackSize];
    int top = 0;

    bool found = false;
    RayHit best{};
    // Reported distances are floats: a node can only hold a better hit while the rounded
    // entry distance does not pass the best one (rounding keeps the order).
    auto mayHoldBetter = [&](double entry) { return !found || (float)entry <= best.dist; };
    double rootEntry;
    if (!enter(rootBox_, slabs, rootEntry)) return false;
    uint32_t current = 0;
    for (;;) {
        const Node& node = nodes_[current];
        if (node.count > 0) {
            for (uint32_t f = node.first; f < node.first + node.count; ++f) {
                RayHit candidate;
                if (intersectTriangle(faces_[f], ray, candidate) && (!found || closerThan(candidate, best))) {
                    best = candidate;
                    found = true;
                }
            }
        } else {
            const uint32_t left = node.first, right = node.first + 1;
            double entries[2];
            const int meets = enterChildren(node, slabs, entries);
            const double leftEntry = entries[0], rightEntry = entries[1];
            const bool hitLeft = (meets & 1) && mayHoldBetter(leftEntry);
            const bool hitRight = (meets & 2) && mayHoldBetter(rightEntry);
            if (hitLeft && hitRight) {
                // The nearer child is searched first (the left one on a tie), the other later.
                const bool leftFirst = leftEntry <= rightEntry;
                stack[top++] = leftFirst ? Pending{right, rightEntry} : Pending{left, leftEntry};
                current = leftFirst ? left : right;
                continue;
            }
            if (hitLeft || hitRight) {
                current = hitLeft ? left : right;
                continue;
            }
        }
        // The nearest pending node that may still hold a better hit.
        while (top > 0 && !mayHoldBetter(stack[top - 1].entry)) --top;
        if (top == 0) break;
        current = stack[--top].node;
    }
    if (found) hit = best;
    return found;
}

void FaceBvh::all(const Ray& ray, std::vector<RayHit>& hits) const {
    hits.clear();
    if (nodes_.empty()) return;
    const Slabs slabs(ray);
    uint32_t stack[kStackSize];
    int top = 0;
    double entry;
    if (enter(rootBox_, slabs, entry)) stack[top++] = 0;
    while (top > 0) {
        const Node& node = nodes_[stack[--top]];
        if (node.count > 0) {
            for (uint32_t f = node.first; f < node.first + node.count; ++f) {
                RayHit candidate;
                if (intersectTriangle(faces_[f], ray, candidate)) hits.push_back(candidate);
            }
            continue;
        }
        double entries[2];
        const int meets = enterChildren(node, slabs, entries);
        if (meets & 1) stack[top++] = node.first;
        if (meets & 2) stack[top++] = node.first + 1;
    }
    std::sort(hits.begin(), hits.end(), [](const RayHit& a, const RayHit& b) { return a.face < b.face; });
}

}  // namespace velmora::d3dx
