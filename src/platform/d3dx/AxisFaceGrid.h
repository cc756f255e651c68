// The faces a ray running straight along one coordinate axis can meet (floors, walls and
// shadows: most of the game's rays), sorted into a grid of cells across that axis. A ray
// looks only at the faces whose grown box covers its cell, in order along the axis, and
// stops once no face left can be nearer than its best hit. It answers exactly what a scan
// of every face with intersectTriangle answers (same face, U, V and distance, the same
// tie rule).
#pragma once

#include "TriangleRay.h"

#include <cstdint>
#include <vector>

namespace velmora::d3dx {

class AxisFaceGrid {
public:
    // Faces in index-buffer order (face i carries face index i); `padding` grows every
    // face's box (boxPadding()).
    AxisFaceGrid(const std::vector<Triangle>& faces, int axis, double padding);

    // The axis a ray runs along when a grid can answer it, -1 otherwise: the ray moves
    // along exactly one axis, at a finite speed, from a finite origin.
    static int axisOf(const Ray& ray);

    // `faces` are the ones the grid was made from; the ray runs along the grid's axis.
    bool nearest(const std::vector<Triangle>& faces, const Ray& ray, RayHit& hit) const;

    size_t candidateCount() const { return candidates_.size(); }
    size_t entryCount() const { return entryCandidate_.size(); }
    size_t memoryBytes() const;

private:
    // A face a ray along the axis can meet, with its grown box in floats rounded outwards.
    struct Candidate {
        float acrossLow[2];
        float acrossHigh[2];
        float alongHigh;
        DWORD face;
    };

    // The cell column (side 0) or row (side 1) of a coordinate across the axis, inside the
    // covered region. Never decreases as the coordinate grows, so a box's cells run from
    // the cell of its low side to the cell of its high side.
    uint32_t cellOf(int side, double coordinate) const;
    // Cuts the covered region into a few nearly square cells per candidate;
    // coarsenCells() halves the number of cells along both sides.
    void chooseCells(size_t candidates);
    void coarsenCells();

    int axis_;
    int across_[2];
    double low_[2];  // the region the candidates' boxes cover, across the axis
    double high_[2];
    double cellsPerUnit_[2] = {0.0, 0.0};
    uint32_t cellCount_[2] = {0, 0};
    std::vector<Candidate> candidates_;
    std::vector<uint32_t> cellStart_;  // cell c holds entries cellStart_[c] .. cellStart_[c + 1] - 1
    // The entries of each cell, in order of their candidate's low side along the axis.
    std::vector<float> entryLow_;
    std::vector<float> entryReach_;  // the highest high side along the axis of this and every earlier entry in the cell
    std::vector<uint32_t> entryCandidate_;
};

}  // namespace velmora::d3dx
