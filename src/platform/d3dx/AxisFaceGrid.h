// The faces a ray running straight along one coordinate axis can meet (floors, walls and
// shadows: most of the game's rays), sorted into a grid of cells across that axis. A ray
// looks only at the faces whose grown box covers its cell, in order along the axis, and
// stops once no face left can be nearer than its best hit. It answers exactly what a scan
// of every face with intersectTriangle answers (same face, U, V and distance, the same
// tie rule).
#pragma once

#include "TriangleRay.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace velmora::d3dx {

class AxisFaceGrid {
public:
    // Faces in index-buffer order; `padding` grows every face's box (boxPadding()).
    AxisFaceGrid(const std::vector<FaceCorners>& faces, int axis, double padding);

    // The axis a ray runs along when a grid can answer it, -1 otherwise: the ray moves
    // along exactly one axis, at a finite speed, from a finite origin.
    static int axisOf(const Ray& ray) {
        int axis = -1;
        for (int a = 0; a < 3; ++a) {
            if (!std::isfinite(ray.origin[a])) return -1;
            if (ray.dir[a] == 0.0) continue;
            if (axis >= 0 || !std::isfinite(ray.dir[a])) return -1;
            axis = a;
        }
        return axis;
    }

    // For a ray along the grid's axis.
    bool nearest(const Ray& ray, RayHit& hit) const;

    size_t candidateCount() const { return candidates_.size(); }
    size_t entryCount() const { return entries_.size(); }
    size_t memoryBytes() const;

private:
    // A face a ray along the axis can meet, in one cache line: its corners, from which the
    // hit test's triangle is made again exactly, and a line across the axis that the grown
    // face keeps to one side of: inward[0] * a + inward[1] * b >= least for each of its
    // points (a, b).
    struct alignas(64) Candidate {
        float corner[3][3];
        float inward[2];
        float least;
        DWORD face;
        double doubleArea;
    };
    // A candidate in a cell, in order of its low side along the axis. Its grown box across
    // the axis is kept in steps of 1/256 of the cell, rounded outwards.
    struct Entry {
        float low;
        float reach;  // the highest high side along the axis of this and every earlier entry in the cell
        uint8_t boxLow[2];
        uint8_t boxHigh[2];
        uint32_t candidate;
    };
    static_assert(sizeof(Candidate) == 64, "a candidate is one cache line");
    static_assert(sizeof(Entry) == 16, "four entries to a cache line");
    static constexpr int kStepsPerCell = 256;

    // A coordinate across the axis in steps of the covered region, kStepsPerCell to a cell:
    // side 0 counts columns, side 1 rows. Never decreases as the coordinate grows, so a
    // box covers the steps from that of its low side to that of its high side.
    uint32_t stepOf(int side, double coordinate) const;
    // Cuts the covered region into a few nearly square cells per candidate;
    // coarsenCells() halves the number of cells along both sides.
    void chooseCells(size_t candidates);
    void coarsenCells();
    // Whether the candidate's face gives the ray from (a, b) across the axis a better hit
    // than `best` (any hit when nothing is found yet), which it then stores in `best`.
    static bool improves(const Candidate& candidate, double a, double b, const Ray& ray, bool found, RayHit& best);

    int axis_;
    int across_[2];
    double low_[2];  // the region the candidates' boxes cover, across the axis
    double high_[2];
    double stepsPerUnit_[2] = {0.0, 0.0};
    uint32_t cellCount_[2] = {0, 0};
    std::vector<Candidate> candidates_;
    std::vector<uint32_t> cellStart_;  // cell c holds entries cellStart_[c] .. cellStart_[c + 1] - 1
    std::vector<Entry> entries_;
};

}  // namespace velmora::d3dx
