// Decoding picture files with stb_image: what D3DX reports about the file, and its pixels.
#pragma once

#include <d3dx9.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace velmora::d3dx {

struct DecodedImage {
    D3DXIMAGE_INFO info;         // the file's own size and format
    bool hasAlpha = false;       // the file stores an alpha channel
    std::vector<uint32_t> argb;  // info.Width x info.Height, top row first, 0xAARRGGBB
};

// Null for anything that is not a whole BMP, PNG or PPM/PGM picture stb_image can read safely.
std::shared_ptr<const DecodedImage> decodeImage(const unsigned char* bytes, size_t size);

}  // namespace velmora::d3dx
