#include "ValueNoise.h"

#include <cmath>

namespace assetgen {

float ValueNoise::lattice(int x, int y, int period) const {
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed_ * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / float(0xFFFFFF);
}

float ValueNoise::at(float x, float y, int period) const {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    float fx = x - ix, fy = y - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    float top = lattice(ix, iy, period) + (lattice(ix + 1, iy, period) - lattice(ix, iy, period)) * fx;
    float low = lattice(ix, iy + 1, period) + (lattice(ix + 1, iy + 1, period) - lattice(ix, iy + 1, period)) * fx;
    return top + (low - top) * fy;
}

float ValueNoise::fractal(float x, float y, int period, int octaves) const {
    float sum = 0, weight = 0.5f, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += at(x, y, period) * weight;
        total += weight;
        x *= 2;
        y *= 2;
        period *= 2;
        weight *= 0.5f;
    }
    return sum / total;
}

}  // namespace assetgen
