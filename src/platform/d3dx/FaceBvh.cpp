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

// Two doubles, one for each child of a node (GCC and Clang vector extension), and the
// lane masks their comparisons give.
typedef double Pair __attribute__((vector_size(16)));
typedef decltype(Pair{} < Pair{}) PairMask;

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
    boxes_.reserve(2 * faces_.size());
    nodes_.push_back(Node{});
    boxes_.push_back(Box{});
    build(0, 0, (uint32_t)faces_.size(), centroids, 0);
    nodes_.shrink_to_fit();
    boxes_.shrink_to_fit();

    childBoxes_.resize((nodes_.size() - 1) / 2);
    for (uint32_t left = 1; left < nodes_.size(); left += 2) {
        ChildBoxes& boxes = childBoxes_[(left - 1) / 2];
        for (int s = 0; s < 2; ++s)
            for (int axis = 0; axis < 3; ++axis)
                for (int child = 0; child < 2; ++child) boxes.side[s][axis][child] = boxes_[left + child].side[s][axis];
    }
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

void FaceBvh::build(uint32_t node, uint32_t first, uint32_t count, std::vector<double>& centroids, int depth) {
    boxes_[node] = boundsOf(first, count);
    const Box& box = boxes_[node];
    const uint32_t leftCount =
        (count <= 1 || depth >= kMaxDepth) ? 0 : split(first, count, centroids, surfaceArea(box.side[0], box.side[1]));
    if (leftCount == 0) {
        nodes_[node].first = first;
        nodes_[node].count = count;
        return;
    }

    // The two children sit side by side; each subtree is appended after them.
    const uint32_t left = (uint32_t)nodes_.size();
    nodes_[node].first = left;
    nodes_[node].count = 0;
    nodes_.resize(nodes_.size() + 2);
    boxes_.resize(boxes_.size() + 2);
    build(left, first, leftCount, centroids, depth + 1);
    build(left + 1, first + leftCount, count - leftCount, centroids, depth + 1);
}

FaceBvh::Slabs::Slabs(const Ray& ray) {
    for (int axis = 0; axis < 3; ++axis) {
        origin[axis] = ray.origin[axis];
        flat[axis] = ray.dir[axis] == 0.0;
        invDir[axis] = flat[axis] ? 0.0 : 1.0 / ray.dir[axis];
        nearSide[axis] = invDir[axis] < 0.0 ? 1 : 0;
    }
}

inline bool FaceBvh::enter(const Box& box, const Slabs& slabs, double& entry) {
    double near = 0.0, far = kInfinity;
    for (int axis = 0; axis < 3; ++axis) {
        if (slabs.flat[axis]) {
            if (!(slabs.origin[axis] >= box.side[0][axis] && slabs.origin[axis] <= box.side[1][axis])) return false;
            continue;
        }
        const int nearSide = slabs.nearSide[axis];
        const double t0 = (box.side[nearSide][axis] - slabs.origin[axis]) * slabs.invDir[axis];
        const double t1 = (box.side[1 - nearSide][axis] - slabs.origin[axis]) * slabs.invDir[axis];
        near = std::max(near, t0);
        far = std::min(far, t1);
    }
    entry = near;
    return near <= far;
}

template <int FlatAxes>
inline int FaceBvh::enterBoth(const ChildBoxes& boxes, const Slabs& slabs, double entries[2]) {
    Pair near = {0.0, 0.0}, far = {kInfinity, kInfinity};
    PairMask outside = {0, 0};  // set in a child's lane once an axis rules the child out
    for (int axis = 0; axis < 3; ++axis) {
        const double o = slabs.origin[axis];
        const Pair origin = {o, o};
        if (FlatAxes & (1 << axis)) {
            Pair low, high;
            __builtin_memcpy(&low, boxes.side[0][axis], sizeof low);
            __builtin_memcpy(&high, boxes.side[1][axis], sizeof high);
            outside |= ~((origin >= low) & (origin <= high));
            continue;
        }
        Pair nearSide, farSide;
        __builtin_memcpy(&nearSide, boxes.side[slabs.nearSide[axis]][axis], sizeof nearSide);
        __builtin_memcpy(&farSide, boxes.side[1 - slabs.nearSide[axis]][axis], sizeof farSide);
        const Pair inverse = {slabs.invDir[axis], slabs.invDir[axis]};
        const Pair t0 = (nearSide - origin) * inverse;
        const Pair t1 = (farSide - origin) * inverse;
        near = near < t0 ? t0 : near;  // std::max(near, t0)
        far = t1 < far ? t1 : far;     // std::min(far, t1)
    }
    const PairMask meets = ~outside & (near <= far);
    entries[0] = near[0];
    entries[1] = near[1];
    return (meets[0] ? 1 : 0) | (meets[1] ? 2 : 0);
}

bool FaceBvh::nearest(const Ray& ray, RayHit& hit) const {
    if (nodes_.empty()) return false;
    const Slabs slabs(ray);
    // Rays along an axis or in an axis plane (walls, floors, shadows: most of the game's)
    // get a search whose box test has no per-axis branch.
    switch ((slabs.flat[0] ? 1 : 0) | (slabs.flat[1] ? 2 : 0) | (slabs.flat[2] ? 4 : 0)) {
        case 0: return search<0>(slabs, ray, hit);
        case 1: return search<1>(slabs, ray, hit);
        case 2: return search<2>(slabs, ray, hit);
        case 3: return search<3>(slabs, ray, hit);
        case 4: return search<4>(slabs, ray, hit);
        case 5: return search<5>(slabs, ray, hit);
        case 6: return search<6>(slabs, ray, hit);
        default: return search<7>(slabs, ray, hit);
    }
}

template <int FlatAxes>
bool FaceBvh::search(const Slabs& slabs, const Ray& ray, RayHit& hit) const {
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
    if (!enter(boxes_[0], slabs, rootEntry)) return false;
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
            double entries[2];
            const int meets = enterBoth<FlatAxes>(childBoxesOf(node.first), slabs, entries);
            const bool hitLeft = (meets & 1) && mayHoldBetter(entries[0]);
            const bool hitRight = (meets & 2) && mayHoldBetter(entries[1]);
            if (hitLeft && hitRight) {
                // The nearer child is searched first (the left one on a tie), the other later.
                const bool leftFirst = entries[0] <= entries[1];
                stack[top++] = leftFirst ? Pending{node.first + 1, entries[1]} : Pending{node.first, entries[0]};
                current = leftFirst ? node.first : node.first + 1;
                continue;
            }
            if (hitLeft || hitRight) {
                current = hitLeft ? node.first : node.first + 1;
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
    if (enter(boxes_[0], slabs, entry)) stack[top++] = 0;
    while (top > 0) {
        const Node& node = nodes_[stack[--top]];
        if (node.count > 0) {
            for (uint32_t f = node.first; f < node.first + node.count; ++f) {
                RayHit candidate;
                if (intersectTriangle(faces_[f], ray, candidate)) hits.push_back(candidate);
            }
            continue;
        }
        if (enter(boxes_[node.first], slabs, entry)) stack[top++] = node.first;
        if (enter(boxes_[node.first + 1], slabs, entry)) stack[top++] = node.first + 1;
    }
    std::sort(hits.begin(), hits.end(), [](const RayHit& a, const RayHit& b) { return a.face < b.face; });
}

size_t FaceBvh::memoryBytes() const {
    return sizeof(*this) + faces_.capacity() * sizeof(Triangle) + nodes_.capacity() * sizeof(Node) +
           boxes_.capacity() * sizeof(Box) + childBoxes_.capacity() * sizeof(ChildBoxes);
}

}  // namespace velmora::d3dx
