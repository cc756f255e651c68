#include "MeshData.h"

#include "AttributeTable.h"

#include <cstring>

namespace velmora::d3dx {

void MeshData::prepareDeviceBytes() {
    std::vector<BYTE> vertexContents(vertices.size() * sizeof(MeshVertex));
    std::memcpy(vertexContents.data(), vertices.data(), vertexContents.size());
    vertexBytes = std::make_shared<d3d9::BufferBytes>(std::move(vertexContents));

    std::vector<BYTE> wide(indices.size() * sizeof(uint32_t));
    std::memcpy(wide.data(), indices.data(), wide.size());
    indexBytes32 = std::make_shared<d3d9::BufferBytes>(std::move(wide));
    attributeTable = std::make_shared<const std::vector<D3DXATTRIBUTERANGE>>(
        buildAttributeTable(attributes, indices.data(), true));

    indexBytes16.reset();
    if (vertices.size() > 0xFFFF) return;
    std::vector<BYTE> narrow(indices.size() * sizeof(uint16_t));
    for (size_t i = 0; i < indices.size(); ++i) {
        const uint16_t index = (uint16_t)indices[i];
        std::memcpy(narrow.data() + i * sizeof index, &index, sizeof index);
    }
    indexBytes16 = std::make_shared<d3d9::BufferBytes>(std::move(narrow));
}

}  // namespace velmora::d3dx
