#include "AttributeTable.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>
#include <unordered_map>

namespace velmora::d3dx {

std::vector<D3DXATTRIBUTERANGE> buildAttributeTable(const std::vector<DWORD>& attributes, const void* indices,
                                                    bool index32) {
    auto indexAt = [&](size_t i) -> DWORD {
        return index32 ? static_cast<const uint32_t*>(indices)[i] : static_cast<const uint16_t*>(indices)[i];
    };
    std::vector<D3DXATTRIBUTERANGE> table;
    size_t face = 0;
    while (face < attributes.size()) {
        size_t end = face;
        DWORD lowest = UNUSED32, highest = 0;
        while (end < attributes.size() && attributes[end] == attributes[face]) {
            for (int c = 0; c < 3; ++c) {
                const DWORD index = indexAt(end * 3 + c);
                lowest = std::min(lowest, index);
                highest = std::max(highest, index);
            }
            ++end;
        }
        table.push_back(D3DXATTRIBUTERANGE{attributes[face], (DWORD)face, (DWORD)(end - face), lowest,
                                           highest - lowest + 1});
        face = end;
    }
    return table;
}

std::vector<DWORD> buildAdjacency(const float* positions, size_t stride, size_t vertexCount,
                                  const std::vector<uint32_t>& indices) {
    // Vertices at the same position count as one point: map each to its first twin.
    std::map<std::tuple<float, float, float>, uint32_t> firstAt;
    std::vector<uint32_t> point(vertexCount);
    for (size_t v = 0; v < vertexCount; ++v) {
        const float* p = reinterpret_cast<const float*>(reinterpret_cast<const unsigned char*>(positions) + v * stride);
        point[v] = firstAt.emplace(std::make_tuple(p[0], p[1], p[2]), (uint32_t)v).first->second;
    }

    const size_t faceCount = indices.size() / 3;
    std::unordered_map<uint64_t, std::vector<uint32_t>> facesOnEdge;  // key: the two points, low first
    auto edgeKey = [&](size_t face, int edge) {
        uint64_t a = point[indices[face * 3 + edge]], b = point[indices[face * 3 + (edge + 1) % 3]];
        if (a > b) std::swap(a, b);
        return (a << 32) | b;
    };
    for (size_t f = 0; f < faceCount; ++f)
        for (int e = 0; e < 3; ++e) facesOnEdge[edgeKey(f, e)].push_back((uint32_t)f);

    std::vector<DWORD> adjacency(faceCount * 3, UNUSED32);
    for (size_t f = 0; f < faceCount; ++f)
        for (int e = 0; e < 3; ++e)
            for (uint32_t other : facesOnEdge[edgeKey(f, e)])
                if (other != f) {
                    adjacency[f * 3 + e] = other;
                    break;
                }
    return adjacency;
}

}  // namespace velmora::d3dx
