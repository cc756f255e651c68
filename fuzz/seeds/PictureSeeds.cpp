#include "Seeds.h"

#include <stb_image.h>
#include <stb_image_write.h>
#include <zlib.h>

#include <algorithm>

namespace {

// Pictures are shrunk to at most this many texels a side.
constexpr int kSeedSide = 16;

void appendTo(void* context, void* data, int size) {
    auto* out = static_cast<Bytes*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

struct Picture {
    int width = 0, height = 0, channels = 0;
    Bytes texels;  // channels bytes per texel, top row first
};

Picture shrunk(const Bytes& file) {
    Picture picture;
    int width, height, channels;
    stbi_uc* texels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width, &height, &channels, 0);
    if (!texels) return picture;
    picture.width = std::min(width, kSeedSide);
    picture.height = std::min(height, kSeedSide);
    picture.channels = channels;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const stbi_uc* source = texels + ((size_t)(y * height / picture.height) * width + x * width / picture.width) * channels;
            picture.texels.insert(picture.texels.end(), source, source + channels);
        }
    stbi_image_free(texels);
    return picture;
}

// PNG chunks by hand, for the encodings stb_image_write does not make.
void pngChunk(Bytes& png, const char* type, const Bytes& data) {
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    const uint32_t size = static_cast<uint32_t>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8) png.push_back(static_cast<uint8_t>(size >> shift));
    png.insert(png.end(), typed.begin(), typed.end());
    const uint32_t crc = static_cast<uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size())));
    for (int shift = 24; shift >= 0; shift -= 8) png.push_back(static_cast<uint8_t>(crc >> shift));
}

Bytes bigEndian32(uint32_t value) {
    return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value)};
}

struct PngSpec {
    uint32_t width, height;
    uint8_t bitDepth, colourType, interlace;
    Bytes palette, transparency;
};

// `rows` are the filtered scanlines (each led by its filter byte), all passes in order.
Bytes png(const PngSpec& spec, const Bytes& rows) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    Bytes header = bigEndian32(spec.width);
    const Bytes height = bigEndian32(spec.height);
    header.insert(header.end(), height.begin(), height.end());
    header.insert(header.end(), {spec.bitDepth, spec.colourType, 0, 0, spec.interlace});
    pngChunk(out, "IHDR", header);
    if (!spec.palette.empty()) pngChunk(out, "PLTE", spec.palette);
    if (!spec.transparency.empty()) pngChunk(out, "tRNS", spec.transparency);
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    Bytes packed(packedSize);
    compress(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()));
    packed.resize(packedSize);
    pngChunk(out, "IDAT", packed);
    pngChunk(out, "IEND", {});
    return out;
}

// Scanlines with filter type `filter` and varied bytes; rows of `rowBytes` bytes.
Bytes scanlines(uint32_t rows, uint32_t rowBytes, uint8_t filter = 0) {
    Bytes out;
    for (uint32_t y = 0; y < rows; ++y) {
        out.push_back(filter);
        for (uint32_t x = 0; x < rowBytes; ++x) out.push_back(static_cast<uint8_t>(x * 29 + y * 71));
    }
    return out;
}

// The seven Adam7 passes of a width x height picture of `bytesPerTexel` bytes.
Bytes adam7(uint32_t width, uint32_t height, uint32_t bytesPerTexel) {
    static const int start[7][2] = {{0, 0}, {4, 0}, {0, 4}, {2, 0}, {0, 2}, {1, 0}, {0, 1}};
    static const int step[7][2] = {{8, 8}, {8, 8}, {4, 8}, {4, 4}, {2, 4}, {2, 2}, {1, 2}};
    Bytes out;
    for (int pass = 0; pass < 7; ++pass) {
        const uint32_t columns = width > (uint32_t)start[pass][0] ? (width - start[pass][0] + step[pass][0] - 1) / step[pass][0] : 0;
        const uint32_t rows = height > (uint32_t)start[pass][1] ? (height - start[pass][1] + step[pass][1] - 1) / step[pass][1] : 0;
        if (columns == 0 || rows == 0) continue;
        const Bytes lines = scanlines(rows, columns * bytesPerTexel, static_cast<uint8_t>(pass % 5));
        out.insert(out.end(), lines.begin(), lines.end());
    }
    return out;
}

struct BmpSpec {
    int32_t width, height;
    uint16_t bitsPerPixel;
    uint32_t compression;
    uint32_t headerSize;  // 12 (OS/2), 40, 108
    std::vector<uint32_t> masks;   // red, green, blue, alpha for bit fields
    uint32_t paletteEntries;
};

Bytes bmp(const BmpSpec& spec, const Bytes& pixels) {
    Bytes info;
    put32(info, spec.headerSize);
    if (spec.headerSize == 12) {
        put16(info, static_cast<uint32_t>(spec.width));
        put16(info, static_cast<uint32_t>(spec.height));
        put16(info, 1);
        put16(info, spec.bitsPerPixel);
    } else {
        put32(info, static_cast<uint32_t>(spec.width));
        put32(info, static_cast<uint32_t>(spec.height));
        put16(info, 1);
        put16(info, spec.bitsPerPixel);
        put32(info, spec.compression);
        put32(info, static_cast<uint32_t>(pixels.size()));
        put32(info, 2835);
        put32(info, 2835);
        put32(info, spec.paletteEntries);
        put32(info, 0);
        for (uint32_t mask : spec.masks) put32(info, mask);
        info.resize(spec.headerSize, 0);
    }
    if (spec.headerSize == 40 && spec.compression == 3)
        for (size_t i = 0; i < 3 && i < spec.masks.size(); ++i) put32(info, spec.masks[i]);
    for (uint32_t i = 0; i < spec.paletteEntries; ++i) {
        info.insert(info.end(), {static_cast<uint8_t>(i * 40), static_cast<uint8_t>(255 - i * 16), static_cast<uint8_t>(i * 90)});
        if (spec.headerSize != 12) info.push_back(0);
    }
    Bytes file;
    putText(file, "BM");
    put32(file, static_cast<uint32_t>(14 + info.size() + pixels.size()));
    put32(file, 0);
    put32(file, static_cast<uint32_t>(14 + info.size()));
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

Bytes bmpRows(uint32_t rows, uint32_t width, uint32_t bitsPerPixel) {
    const uint32_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    Bytes out;
    for (uint32_t y = 0; y < rows; ++y)
        for (uint32_t x = 0; x < rowBytes; ++x) out.push_back(static_cast<uint8_t>(x * 13 + y * 7));
    return out;
}

void writeHandMadePictures(const SeedWriter& out) {
    out.write("palette-trns.png", png({6, 5, 8, 3, 0, {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9}, {0, 128}},
                                      [] { Bytes rows; for (int y = 0; y < 5; ++y) { rows.push_back(0); for (int x = 0; x < 6; ++x) rows.push_back((uint8_t)((x + y) % 4)); } return rows; }()));
    out.write("palette-2bit.png", png({7, 3, 2, 3, 0, {0, 0, 0, 80, 80, 80, 160, 160, 160, 255, 255, 255}, {}}, scanlines(3, 2)));
    out.write("rgb16.png", png({3, 3, 16, 2, 0, {}, {}}, scanlines(3, 18, 1)));
    out.write("grey4-trns.png", png({9, 4, 4, 0, 0, {}, {0, 3}}, scanlines(4, 5, 2)));
    out.write("grey-alpha.png", png({4, 4, 8, 4, 0, {}, {}}, scanlines(4, 8, 3)));
    out.write("interlaced-rgba.png", png({9, 9, 8, 6, 1, {}, {}}, adam7(9, 9, 4)));
    out.write("paeth-rgb.png", png({5, 6, 8, 2, 0, {}, {}}, scanlines(6, 15, 4)));
    out.write("huge-header.png", png({30000, 30000, 8, 6, 0, {}, {}}, scanlines(1, 16)));

    out.write("palette8.bmp", bmp({5, 4, 8, 0, 40, {}, 4}, bmpRows(4, 5, 8)));
    out.write("palette4.bmp", bmp({7, 3, 4, 0, 40, {}, 16}, bmpRows(3, 7, 4)));
    out.write("palette1.bmp", bmp({17, 2, 1, 0, 40, {}, 2}, bmpRows(2, 17, 1)));
    out.write("rle8.bmp", bmp({4, 3, 8, 1, 40, {}, 4}, {3, 1, 0, 3, 2, 2, 1, 0, 0, 0, 4, 3, 0, 1}));
    out.write("rle4.bmp", bmp({6, 2, 4, 2, 40, {}, 16}, {6, 0x12, 0, 0, 0, 4, 0x34, 0x56, 0, 1}));
    out.write("bitfields565.bmp", bmp({3, 3, 16, 3, 40, {0xF800, 0x07E0, 0x001F}, 0}, bmpRows(3, 3, 16)));
    out.write("v4-alpha.bmp", bmp({3, -2, 32, 3, 108, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, 0}, bmpRows(2, 3, 32)));
    out.write("os2-24.bmp", bmp({3, 2, 24, 0, 12, {}, 0}, bmpRows(2, 3, 24)));
    out.write("huge-width.bmp", bmp({100000, 1, 24, 0, 40, {}, 0}, bmpRows(1, 4, 24)));
    out.write("grey.ppm", std::string("P5\n3 2\n255\n") + std::string("\x10\x80\xff\x00\x40\x20", 6));
    out.write("colour.ppm", std::string("P6\n# seed\n2 1\n255\n") + std::string("\xff\x00\x00\x00\xff\x00", 6));
}

}  // namespace

void writePictureSeeds(const std::filesystem::path& dataFolder, const SeedWriter& out) {
    for (const auto& path : filesUnder(dataFolder, {".png", ".bmp"})) {
        const Picture picture = shrunk(readFile(path));
        if (picture.texels.empty()) continue;
        const std::string stem = "game-" + path.stem().string();
        Bytes encoded;
        stbi_write_png_to_func(appendTo, &encoded, picture.width, picture.height, picture.channels, picture.texels.data(),
                               picture.width * picture.channels);
        out.write(stem + ".png", encoded);
        encoded.clear();
        stbi_write_bmp_to_func(appendTo, &encoded, picture.width, picture.height, picture.channels, picture.texels.data());
        out.write(stem + ".bmp", encoded);
    }
    writeHandMadePictures(out);
}
