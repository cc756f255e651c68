#include "AxisFaceGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora::d3dx {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// About this many cells per candidate face; the region is cut into nearly square cells.
constexpr double kCellsPerCandidate = 2.0;
constexpr uint32_t kMostCellsPerSide = 256;
// Big faces cover many cells; the cells are made coarser until the entries stay within
// this many per candidate, so that no mesh's grid grows out of proportion.
constexpr size_t kMostEntriesPerCandidate = 32;

float roundedDown(double x) {
    const float f = (float)x;
    return f > x ? std::nextafter(f, -std::numeric_limits<float>::infinity()) : f;
}

float roundedUp(double x) {
    const float f = (float)x;
    return f < x ? std::nextafter(f, std::numeric_limits<float>::infinity()) : f;
}

// A face whose corners share their coordinate on an axis across the ray contains the
// ray's direction: the hit test's determinant comes out as exactly zero (or NaN) for it,
// whatever the ray, so it never hits.
bool canMeetAlong(const Triangle& tri, const int (&across)[2]) {
    if (!hittable(tri)) return false;
    for (int axis : across)
        if (tri.e1[axis] == 0.0 && tri.e2[axis] == 0.0) return false;
    return true;
}

struct Box {
    double low[3];
    double high[3];
};

Box grownBoxOf(const Triangle& tri, double padding) {
    double corners[3][3];
    cornersOf(tri, corners);
    Box box;
    for (int axis = 0; axis < 3; ++axis) {
        box.low[axis] = std::min({corners[0][axis], corners[1][axis], corners[2][axis]}) - padding;
        box.high[axis] = std::max({corners[0][axis], corners[1][axis], corners[2][axis]}) + padding;
    }
    return box;
}

}  // namespace

AxisFaceGrid::AxisFaceGrid(const std::vector<Triangle>& faces, int axis, double padding)
    : axis_(axis),
      across_{(axis + 1) % 3, (axis + 2) % 3},
      low_{kInfinity, kInfinity},
      high_{-kInfinity, -kInfinity} {
    std::vector<Box> boxes;
    std::vector<float> alongLow;
    for (const Triangle& tri : faces) {
        if (!canMeetAlong(tri, across_)) continue;
        const Box box = grownBoxOf(tri, padding);
        Candidate candidate;
        for (int side = 0; side < 2; ++side) {
            candidate.acrossLow[side] = roundedDown(box.low[across_[side]]);
            candidate.acrossHigh[side] = roundedUp(box.high[across_[side]]);
            low_[side] = std::min(low_[side], box.low[across_[side]]);
            high_[side] = std::max(high_[side], box.high[across_[side]]);
        }
        candidate.alongHigh = roundedUp(box.high[axis]);
        candidate.face = tri.face;
        candidates_.push_back(candidate);
        alongLow.push_back(roundedDown(box.low[axis]));
        boxes.push_back(box);
    }
    candidates_.shrink_to_fit();
    if (candidates_.empty()) return;

    auto cellRange = [&](const Box& box, int side, uint32_t& first, uint32_t& last) {
        first = cellOf(side, box.low[across_[side]]);
        last = cellOf(side, box.high[across_[side]]);
    };
    auto entriesNeeded = [&]() {
        size_t entries = 0;
        for (const Box& box : boxes) {
            uint32_t first[2], last[2];
            for (int side = 0; side < 2; ++side) cellRange(box, side, first[side], last[side]);
            entries += size_t(last[0] - first[0] + 1) * (last[1] - first[1] + 1);
        }
        return entries;
    };
    chooseCells(candidates_.size());
    while (entriesNeeded() > kMostEntriesPerCandidate * candidates_.size())
        coarsenCells();

    const size_t cellTotal = size_t(cellCount_[0]) * cellCount_[1];
    auto forEachCellOf = [&](const Box& box, auto&& visit) {
        uint32_t first[2], last[2];
        for (int side = 0; side < 2; ++side) cellRange(box, side, first[side], last[side]);
        for (uint32_t column = first[0]; column <= last[0]; ++column)
            for (uint32_t row = first[1]; row <= last[1]; ++row) visit(column * cellCount_[1] + row);
    };
    cellStart_.assign(cellTotal + 1, 0);
    for (const Box& box : boxes) forEachCellOf(box, [&](uint32_t cell) { ++cellStart_[cell + 1]; });
    for (size_t cell = 0; cell < cellTotal; ++cell) cellStart_[cell + 1] += cellStart_[cell];
    entryCandidate_.resize(cellStart_.back());
    std::vector<uint32_t> next(cellStart_.begin(), cellStart_.end() - 1);
    for (uint32_t candidate = 0; candidate < boxes.size(); ++candidate)
        forEachCellOf(boxes[candidate], [&](uint32_t cell) { entryCandidate_[next[cell]++] = candidate; });

    entryLow_.resize(entryCandidate_.size());
    entryReach_.resize(entryCandidate_.size());
    for (size_t cell = 0; cell < cellTotal; ++cell) {
        const auto first = entryCandidate_.begin() + cellStart_[cell];
        const auto last = entryCandidate_.begin() + cellStart_[cell + 1];
        std::stable_sort(first, last, [&](uint32_t a, uint32_t b) { return alongLow[a] < alongLow[b]; });
        float reach = -std::numeric_limits<float>::infinity();
        for (uint32_t entry = cellStart_[cell]; entry < cellStart_[cell + 1]; ++entry) {
            entryLow_[entry] = alongLow[entryCandidate_[entry]];
            reach = std::max(reach, candidates_[entryCandidate_[entry]].alongHigh);
            entryReach_[entry] = reach;
        }
    }
}

void AxisFaceGrid::chooseCells(size_t candidates) {
    const double width = high_[0] - low_[0], height = high_[1] - low_[1];
    const double target = kCellsPerCandidate * candidates;
    const double columns = std::round(std::sqrt(target * width / height));
    cellCount_[0] = (uint32_t)std::clamp(columns, 1.0, (double)kMostCellsPerSide);
    cellCount_[1] = (uint32_t)std::clamp(std::round(target / cellCount_[0]), 1.0, (double)kMostCellsPerSide);
    for (int side = 0; side < 2; ++side) cellsPerUnit_[side] = cellCount_[side] / (high_[side] - low_[side]);
}

void AxisFaceGrid::coarsenCells() {
    for (int side = 0; side < 2; ++side) {
        cellCount_[side] = std::max(1u, cellCount_[side] / 2);
        cellsPerUnit_[side] = cellCount_[side] / (high_[side] - low_[side]);
    }
}

inline uint32_t AxisFaceGrid::cellOf(int side, double coordinate) const {
    const double scaled = (coordinate - low_[side]) * cellsPerUnit_[side];
    return scaled < cellCount_[side] ? (uint32_t)scaled : cellCount_[side] - 1;
}

int AxisFaceGrid::axisOf(const Ray& ray) {
    int axis = -1;
    for (int a = 0; a < 3; ++a) {
        if (!std::isfinite(ray.origin[a])) return -1;
        if (ray.dir[a] == 0.0) continue;
        if (axis >= 0 || !std::isfinite(ray.dir[a])) return -1;
        axis = a;
    }
    return axis;
}

bool AxisFaceGrid::nearest(const std::vector<Triangle>& faces, const Ray& ray, RayHit& hit) const {
    const double a = ray.origin[across_[0]], b = ray.origin[across_[1]];
    // No grown box reaches outside the covered region (an empty grid covers nothing).
    if (!(a >= low_[0] && a <= high_[0] && b >= low_[1] && b <= high_[1])) return false;
    const uint32_t cell = cellOf(0, a) * cellCount_[1] + cellOf(1, b);
    const uint32_t begin = cellStart_[cell], end = cellStart_[cell + 1];
    const double along = ray.origin[axis_];
    const double inverse = 1.0 / ray.dir[axis_];

    bool found = false;
    RayHit best{};
    auto test = [&](const Candidate& candidate) {
        if (!(a >= candidate.acrossLow[0] && a <= candidate.acrossHigh[0] && b >= candidate.acrossLow[1] &&
              b <= candidate.acrossHigh[1]))
            return;
        RayHit faceHit;
        if (intersectTriangle(faces[candidate.face], ray, faceHit) && (!found || closerThan(faceHit, best))) {
            best = faceHit;
            found = true;
        }
    };
    // A hit lies inside its face's grown box, so its distance is at least the distance at
    // which the ray enters the box. Reported distances are floats: once the rounded entry
    // distance passes the best hit, neither that face nor any later one can be nearer.
    if (inverse > 0.0) {
        // Entries before the first whose reach gets to the origin lie wholly behind it.
        const float* reach = entryReach_.data();
        for (uint32_t entry = uint32_t(std::lower_bound(reach + begin, reach + end, along) - reach); entry < end;
             ++entry) {
            if (found && (float)((entryLow_[entry] - along) * inverse) > best.dist) break;
            const Candidate& candidate = candidates_[entryCandidate_[entry]];
            if (candidate.alongHigh >= along) test(candidate);
        }
    } else {
        // Entries whose low side lies beyond the origin are behind the ray; the rest are
        // walked back from the highest low side.
        const float* low = entryLow_.data();
        for (uint32_t entry = uint32_t(std::upper_bound(low + begin, low + end, along) - low); entry-- > begin;) {
            if (found && (float)((entryReach_[entry] - along) * inverse) > best.dist) break;
            test(candidates_[entryCandidate_[entry]]);
        }
    }
    if (found) hit = best;
    return found;
}

size_t AxisFaceGrid::memoryBytes() const {
    return sizeof(*this) + candidates_.capacity() * sizeof(Candidate) + cellStart_.capacity() * sizeof(uint32_t) +
           entryLow_.capacity() * sizeof(float) + entryReach_.capacity() * sizeof(float) +
           entryCandidate_.capacity() * sizeof(uint32_t);
}

}  // namespace velmora::d3dx
