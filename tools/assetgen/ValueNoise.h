// Smooth value noise that tiles: the lattice repeats every `period` cells, so pictures
// built from it wrap seamlessly when their size is a multiple of the cell size.
#pragma once

#include <cstdint>

namespace assetgen {

class ValueNoise {
public:
    explicit ValueNoise(uint32_t seed) : seed_(seed) {}

    // Noise in [0, 1] at (x, y) measured in lattice cells.
    float at(float x, float y, int period) const;
    // Sum of octaves, each at twice the frequency and half the weight; in [0, 1].
    float fractal(float x, float y, int period, int octaves) const;

private:
    float lattice(int x, int y, int period) const;

    uint32_t seed_;
};

}  // namespace assetgen
