#include "DecodedImage.h"

#include <stb_image.h>

#include <cstring>

namespace velmora::d3dx {

namespace {

// Larger pictures are refused before decoding: their size could only come from a broken
// header, and D3D9 textures stop at this size anyway.
constexpr int kMaxImageSize = 16384;

// No file holds more texels than its bytes can encode: deflate packs at most 1032 bytes
// into one and a byte of a 1-bit PNG row holds 8 texels. A header that claims more is
// broken, and stb_image would reserve the memory for all of those texels before finding out.
constexpr uint64_t kMaxTexelsPerFileByte = 1032 * 8;

// Formats the d3d9 header does not name.
constexpr D3DFORMAT kFormatL8 = (D3DFORMAT)50;
constexpr D3DFORMAT kFormatA8L8 = (D3DFORMAT)51;

bool startsWith(const unsigned char* bytes, size_t size, const char* prefix, size_t length) {
    return size >= length && std::memcmp(bytes, prefix, length) == 0;
}

// The file kind by its signature. Kinds without one (TGA) are not read: stb_image would
// take too much random data for them. Nor is JPEG: stb_image 2.27's JPEG decoder goes
// wrong on damaged entropy-coded data (bit counts run negative), which no check short of
// decoding could catch, and the game's pictures are PNG and BMP.
bool fileFormatOf(const unsigned char* bytes, size_t size, D3DXIMAGE_FILEFORMAT& format) {
    if (startsWith(bytes, size, "\x89PNG\r\n\x1a\n", 8)) format = D3DXIFF_PNG;
    else if (startsWith(bytes, size, "BM", 2)) format = D3DXIFF_BMP;
    else if (startsWith(bytes, size, "P6", 2) || startsWith(bytes, size, "P5", 2)) format = D3DXIFF_PPM;
    else return false;
    return true;
}

uint32_t littleEndian(const unsigned char* p, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
    return value;
}

// stb_image fills the missing end of a cut-off BMP with zeros; D3DX refuses such a file.
// For uncompressed BMPs the pixel rows must all be there. A header size stb_image's BMP
// reader does not know sends the file on to its TGA reader, which is not meant to see it.
bool bmpComplete(const unsigned char* bytes, size_t size) {
    if (size < 30) return false;
    const uint32_t pixelsAt = littleEndian(bytes + 10, 4);
    const uint32_t headerSize = littleEndian(bytes + 14, 4);
    if (headerSize != 12 && headerSize != 40 && headerSize != 56 && headerSize != 108 && headerSize != 124) return false;
    int64_t width, height;
    uint32_t bitsPerPixel, compression = 0;
    if (headerSize == 12) {
        width = littleEndian(bytes + 18, 2);
        height = littleEndian(bytes + 20, 2);
        bitsPerPixel = littleEndian(bytes + 24, 2);
    } else {
        if (size < 34) return false;
        width = (int32_t)littleEndian(bytes + 18, 4);
        height = (int32_t)littleEndian(bytes + 22, 4);
        bitsPerPixel = littleEndian(bytes + 28, 2);
        compression = littleEndian(bytes + 30, 4);
    }
    const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
    if (!uncompressed) return true;
    // Sizes beyond these are refused anyway; checking first keeps the products below in range.
    const int64_t rows = height < 0 ? -height : height;
    if (width <= 0 || width > kMaxImageSize || rows > kMaxImageSize || bitsPerPixel > 32) return false;
    const int64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return rowBytes > 0 && (int64_t)pixelsAt + rowBytes * rows <= (int64_t)size;
}

// stb_image 2.27 reads the width, height and largest value of a PGM/PPM header into an
// int without a bound, so ten digits or more overflow it. The header is walked here as
// stb_image walks it (white space, # comments, digits) and such numbers refused.
bool pnmHeaderNumbersFit(const unsigned char* bytes, size_t size) {
    size_t next = 2;  // after "P5" or "P6"
    auto atEnd = [&] { return next >= size; };
    auto get = [&]() -> char { return next < size ? static_cast<char>(bytes[next++]) : '\0'; };
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; };
    char c = get();
    for (int number = 0; number < 3; ++number) {
        for (;;) {
            while (!atEnd() && isSpace(c)) c = get();
            if (atEnd() || c != '#') break;
            while (!atEnd() && c != '\n' && c != '\r') c = get();
        }
        int digits = 0;
        while (!atEnd() && c >= '0' && c <= '9') {
            if (++digits > 9) return false;
            c = get();
        }
    }
    return true;
}

uint32_t bigEndian32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}

// stb_image reserves room for a PNG chunk's declared length, and for all of the image's
// filtered rows, before it knows whether the bytes are there. Every chunk up to IEND must
// lie inside the file, and the rows must be few enough for deflate (at most 1032 bytes
// out of one) to have made them out of the file's bytes. The first IDAT must not be empty.
bool pngSizesFit(const unsigned char* bytes, size_t size) {
    if (size < 33) return false;
    const uint64_t width = bigEndian32(bytes + 16), height = bigEndian32(bytes + 20);
    const unsigned depth = bytes[24], colourType = bytes[25];
    const unsigned channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
    const uint64_t rowBytes = (width * channels * depth + 7) / 8 + 1;
    if (rowBytes * height > 1032 * static_cast<uint64_t>(size) + 65536) return false;
    bool dataSeen = false;
    for (size_t at = 8; at + 8 <= size;) {
        const uint32_t length = bigEndian32(bytes + at);
        const uint64_t end = at + 12 + static_cast<uint64_t>(length);
        if (end > size) return false;
        if (std::memcmp(bytes + at + 4, "IEND", 4) == 0) break;
        // An empty first IDAT has stb_image copy zero bytes into a buffer it has not made yet.
        if (std::memcmp(bytes + at + 4, "IDAT", 4) == 0) {
            if (!dataSeen && length == 0) return false;
            dataSeen = true;
        }
        at = static_cast<size_t>(end);
    }
    return true;
}

D3DFORMAT formatOfChannels(int channels) {
    switch (channels) {
        case 1: return kFormatL8;
        case 2: return kFormatA8L8;
        case 3: return D3DFMT_R8G8B8;
        default: return D3DFMT_A8R8G8B8;
    }
}

}  // namespace

std::shared_ptr<const DecodedImage> decodeImage(const unsigned char* bytes, size_t size) {
    D3DXIMAGE_FILEFORMAT fileFormat;
    if (size == 0 || size > (size_t)INT32_MAX || !fileFormatOf(bytes, size, fileFormat)) return nullptr;
    if (fileFormat == D3DXIFF_BMP && !bmpComplete(bytes, size)) return nullptr;
    if (fileFormat == D3DXIFF_PNG && !pngSizesFit(bytes, size)) return nullptr;
    // stb_image 2.27 also reads past its buffer when it narrows 16-bit PPM/PGM samples.
    if (fileFormat == D3DXIFF_PPM &&
        (!pnmHeaderNumbersFit(bytes, size) || stbi_is_16_bit_from_memory(bytes, (int)size)))
        return nullptr;
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, (int)size, &width, &height, &channels)) return nullptr;
    if (width <= 0 || height <= 0 || width > kMaxImageSize || height > kMaxImageSize) return nullptr;
    if ((uint64_t)width * (uint64_t)height > kMaxTexelsPerFileByte * size) return nullptr;

    stbi_uc* rgba = stbi_load_from_memory(bytes, (int)size, &width, &height, &channels, 4);
    if (!rgba) return nullptr;

    auto image = std::make_shared<DecodedImage>();
    image->info.Width = (UINT)width;
    image->info.Height = (UINT)height;
    image->info.Depth = 1;
    image->info.MipLevels = 1;
    image->info.Format = formatOfChannels(channels);
    image->info.ResourceType = D3DRTYPE_TEXTURE;
    image->info.ImageFileFormat = fileFormat;
    image->hasAlpha = channels == 2 || channels == 4;
    image->argb.resize((size_t)width * height);
    for (size_t i = 0; i < image->argb.size(); ++i) {
        const stbi_uc* p = rgba + i * 4;
        image->argb[i] = ((uint32_t)p[3] << 24) | ((uint32_t)p[0] << 16) | ((uint32_t)p[1] << 8) | p[2];
    }
    stbi_image_free(rgba);
    return image;
}

}  // namespace velmora::d3dx
