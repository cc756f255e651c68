#include "AxisFaceGrid.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace velmora::d3dx {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// About this many cells per candidate face; the region is cut into nearly square cells.
constexpr double kCellsPerCandidate = 2.0;
constexpr uint32_t kMostCellsPerSide = 256;
// Big faces cover many cells; the cells are made coarser until the entries stay within
// this many per candidate, so that no mesh's grid grows out of proportion.
constexpr size_t kMostEntriesPerCandidate = 12;

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

// The line through the longest side of the face seen along the axis, moved outwards by
// twice the padding (once for the face's growth, once for the rounding of the floats the
// test is made with), with its normal towards the face.
void inwardLineOf(const Triangle& tri, const int (&across)[2], double padding, float inward[2], float& least) {
    double corners[3][3];
    cornersOf(tri, corners);
    int longest = 0;
    double longestLength = -1.0;
    for (int side = 0; side < 3; ++side) {
        const double* from = corners[side];
        const double* to = corners[(side + 1) % 3];
        const double length = std::hypot(to[across[0]] - from[across[0]], to[across[1]] - from[across[1]]);
        if (length > longestLength) {
            longestLength = length;
            longest = side;
        }
    }
    const double* from = corners[longest];
    const double* to = corners[(longest + 1) % 3];
    const double* opposite = corners[(longest + 2) % 3];
    double normal[2] = {(from[across[1]] - to[across[1]]) / longestLength,
                        (to[across[0]] - from[across[0]]) / longestLength};
    const double towardsOpposite =
        normal[0] * (opposite[across[0]] - from[across[0]]) + normal[1] * (opposite[across[1]] - from[across[1]]);
    if (towardsOpposite < 0) {
        normal[0] = -normal[0];
        normal[1] = -normal[1];
    }
    inward[0] = (float)normal[0];
    inward[1] = (float)normal[1];
    least = roundedDown(normal[0] * from[across[0]] + normal[1] * from[across[1]] - 2.0 * padding);
}

}  // namespace

AxisFaceGrid::AxisFaceGrid(const std::vector<FaceCorners>& faces, int axis, double padding)
    : axis_(axis),
      across_{(axis + 1) % 3, (axis + 2) % 3},
      low_{kInfinity, kInfinity},
      high_{-kInfinity, -kInfinity} {
    std::vector<Box> boxes;
    std::vector<float> alongLow, alongHigh;
    for (DWORD face = 0; face < faces.size(); ++face) {
        const FaceCorners& corners = faces[face];
        const Triangle tri = makeTriangle(corners.corner[0], corners.corner[1], corners.corner[2], face);
        if (!canMeetAlong(tri, across_)) continue;
        const Box box = grownBoxOf(tri, padding);
        Candidate candidate;
        std::memcpy(candidate.corner, corners.corner, sizeof candidate.corner);
        inwardLineOf(tri, across_, padding, candidate.inward, candidate.least);
        candidate.face = face;
        candidate.doubleArea = tri.doubleArea;
        candidates_.push_back(candidate);
        for (int side = 0; side < 2; ++side) {
            low_[side] = std::min(low_[side], box.low[across_[side]]);
            high_[side] = std::max(high_[side], box.high[across_[side]]);
        }
        alongLow.push_back(roundedDown(box.low[axis]));
        alongHigh.push_back(roundedUp(box.high[axis]));
        boxes.push_back(box);
    }
    candidates_.shrink_to_fit();
    if (candidates_.empty()) return;

    // The steps of a box's low and high sides.
    auto stepRange = [&](const Box& box, int side, uint32_t& first, uint32_t& last) {
        first = stepOf(side, box.low[across_[side]]);
        last = stepOf(side, box.high[across_[side]]);
    };
    auto entriesNeeded = [&]() {
        size_t entries = 0;
        for (const Box& box : boxes) {
            uint32_t first[2], last[2];
            for (int side = 0; side < 2; ++side) stepRange(box, side, first[side], last[side]);
            entries += size_t(last[0] / kStepsPerCell - first[0] / kStepsPerCell + 1) *
                       (last[1] / kStepsPerCell - first[1] / kStepsPerCell + 1);
        }
        return entries;
    };
    chooseCells(candidates_.size());
    while (entriesNeeded() > kMostEntriesPerCandidate * candidates_.size()) coarsenCells();

    // The entries a box makes, one for each cell it covers, with the part of the cell it covers.
    auto forEachEntryOf = [&](const Box& box, uint32_t candidate, auto&& visit) {
        uint32_t first[2], last[2];
        for (int side = 0; side < 2; ++side) stepRange(box, side, first[side], last[side]);
        for (uint32_t column = first[0] / kStepsPerCell; column <= last[0] / kStepsPerCell; ++column)
            for (uint32_t row = first[1] / kStepsPerCell; row <= last[1] / kStepsPerCell; ++row) {
                const uint32_t cell[2] = {column, row};
                Entry entry{alongLow[candidate], 0.0f, {0, 0}, {kStepsPerCell - 1, kStepsPerCell - 1}, candidate};
                for (int side = 0; side < 2; ++side) {
                    if (first[side] / kStepsPerCell == cell[side])
                        entry.boxLow[side] = (uint8_t)(first[side] % kStepsPerCell);
                    if (last[side] / kStepsPerCell == cell[side])
                        entry.boxHigh[side] = (uint8_t)(last[side] % kStepsPerCell);
                }
                visit(column * cellCount_[1] + row, entry);
            }
    };
    const size_t cellTotal = size_t(cellCount_[0]) * cellCount_[1];
    cellStart_.assign(cellTotal + 1, 0);
    for (uint32_t candidate = 0; candidate < boxes.size(); ++candidate)
        forEachEntryOf(boxes[candidate], candidate, [&](uint32_t cell, const Entry&) { ++cellStart_[cell + 1]; });
    for (size_t cell = 0; cell < cellTotal; ++cell) cellStart_[cell + 1] += cellStart_[cell];
    entries_.resize(cellStart_.back());
    std::vector<uint32_t> next(cellStart_.begin(), cellStart_.end() - 1);
    for (uint32_t candidate = 0; candidate < boxes.size(); ++candidate)
        forEachEntryOf(boxes[candidate], candidate,
                       [&](uint32_t cell, const Entry& entry) { entries_[next[cell]++] = entry; });

    for (size_t cell = 0; cell < cellTotal; ++cell) {
        const auto first = entries_.begin() + cellStart_[cell];
        const auto last = entries_.begin() + cellStart_[cell + 1];
        std::stable_sort(first, last, [](const Entry& a, const Entry& b) { return a.low < b.low; });
        float reach = -std::numeric_limits<float>::infinity();
        for (auto entry = first; entry != last; ++entry) {
            reach = std::max(reach, alongHigh[entry->candidate]);
            entry->reach = reach;
        }
    }
}

void AxisFaceGrid::chooseCells(size_t candidates) {
    const double width = high_[0] - low_[0], height = high_[1] - low_[1];
    const double target = kCellsPerCandidate * candidates;
    const double columns = std::round(std::sqrt(target * width / height));
    cellCount_[0] = (uint32_t)std::clamp(columns, 1.0, (double)kMostCellsPerSide);
    cellCount_[1] = (uint32_t)std::clamp(std::round(target / cellCount_[0]), 1.0, (double)kMostCellsPerSide);
    for (int side = 0; side < 2; ++side)
        stepsPerUnit_[side] = cellCount_[side] * double(kStepsPerCell) / (high_[side] - low_[side]);
}

void AxisFaceGrid::coarsenCells() {
    for (int side = 0; side < 2; ++side) {
        cellCount_[side] = std::max(1u, cellCount_[side] / 2);
        stepsPerUnit_[side] = cellCount_[side] * double(kStepsPerCell) / (high_[side] - low_[side]);
    }
}

inline uint32_t AxisFaceGrid::stepOf(int side, double coordinate) const {
    const double scaled = (coordinate - low_[side]) * stepsPerUnit_[side];
    const uint32_t last = cellCount_[side] * kStepsPerCell - 1;
    return scaled < last ? (uint32_t)scaled : last;
}

inline bool AxisFaceGrid::improves(const Candidate& candidate, double a, double b, const Ray& ray, bool found,
                                   RayHit& best) {
    if (!(candidate.inward[0] * a + candidate.inward[1] * b >= candidate.least)) return false;
    Triangle tri;  // exactly as makeTriangle() made it
    setCorners(tri, candidate.corner[0], candidate.corner[1], candidate.corner[2]);
    tri.doubleArea = candidate.doubleArea;
    tri.face = candidate.face;
    RayHit faceHit;
    if (!intersectTriangle(tri, ray, faceHit) || (found && !closerThan(faceHit, best))) return false;
    best = faceHit;
    return true;
}

bool AxisFaceGrid::nearest(const Ray& ray, RayHit& hit) const {
    const double a = ray.origin[across_[0]], b = ray.origin[across_[1]];
    // No grown box reaches outside the covered region (an empty grid covers nothing).
    if (!(a >= low_[0] && a <= high_[0] && b >= low_[1] && b <= high_[1])) return false;
    const uint32_t stepA = stepOf(0, a), stepB = stepOf(1, b);
    const uint32_t cell = stepA / kStepsPerCell * cellCount_[1] + stepB / kStepsPerCell;
    const uint32_t withinA = stepA % kStepsPerCell, withinB = stepB % kStepsPerCell;
    const Entry* first = entries_.data() + cellStart_[cell];
    const Entry* last = entries_.data() + cellStart_[cell + 1];
    const double along = ray.origin[axis_];
    const double inverse = 1.0 / ray.dir[axis_];

    bool found = false;
    RayHit best{};
    auto tryEntry = [&](const Entry& entry) {
        if (entry.boxLow[0] <= withinA && withinA <= entry.boxHigh[0] && entry.boxLow[1] <= withinB &&
            withinB <= entry.boxHigh[1] && improves(candidates_[entry.candidate], a, b, ray, found, best))
            found = true;
    };
    // A hit lies inside its face's grown box, so its distance is at least the distance at
    // which the ray enters the box. Reported distances are floats: once the rounded entry
    // distance passes the best hit, neither that face nor any later one can be nearer.
    if (inverse > 0.0) {
        // Entries before the first whose reach gets to the origin lie wholly behind it.
        const auto reachesOrigin = [](const Entry& entry, double origin) { return entry.reach < origin; };
        for (const Entry* entry = std::lower_bound(first, last, along, reachesOrigin); entry < last; ++entry) {
            if (found && (float)((entry->low - along) * inverse) > best.dist) break;
            tryEntry(*entry);
        }
    } else {
        // Entries whose low side lies beyond the origin are behind the ray; the rest are
        // walked back from the highest low side.
        const auto startsBeyond = [](double origin, const Entry& entry) { return origin < entry.low; };
        for (const Entry* entry = std::upper_bound(first, last, along, startsBeyond); entry != first;) {
            --entry;
            if (found && (float)((entry->reach - along) * inverse) > best.dist) break;
            tryEntry(*entry);
        }
    }
    if (found) hit = best;
    return found;
}

size_t AxisFaceGrid::memoryBytes() const {
    return sizeof(*this) + candidates_.capacity() * sizeof(Candidate) + cellStart_.capacity() * sizeof(uint32_t) +
           entries_.capacity() * sizeof(Entry);
}

}  // namespace velmora::d3dx
