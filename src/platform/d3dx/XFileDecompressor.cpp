#include "XFileDecompressor.h"

#include "XFileRefusal.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>

namespace velmora::d3dx {

namespace {

constexpr size_t kHeaderSize = 16;
constexpr size_t kMaxBlockBytes = 32768;  // also the deflate window, so the whole history
// Deflate expands up to ~1000:1, so the size a file claims is its only bound: the game's
// largest mesh is 380 KB of text, and no mesh needs more than this.
constexpr uint32_t kMaxInflatedBytes = 16 << 20;

uint32_t littleEndian(const unsigned char* p, size_t count) {
    uint32_t value = 0;
    for (size_t i = count; i-- > 0;) value = value << 8 | p[i];
    return value;
}

// Inflates one block to the end of `out`, where it must fill exactly `outSize` bytes; the
// body already in `out` is the history the block may refer back to.
bool inflateBlock(z_stream& stream, const unsigned char* in, size_t inSize, std::string& out, size_t outSize) {
    if (inflateReset(&stream) != Z_OK) return false;
    const size_t bodySize = out.size() - kHeaderSize;
    if (bodySize > 0) {
        const size_t keep = bodySize < kMaxBlockBytes ? bodySize : kMaxBlockBytes;
        const auto* window = reinterpret_cast<const Bytef*>(out.data() + out.size() - keep);
        if (inflateSetDictionary(&stream, window, static_cast<uInt>(keep)) != Z_OK) return false;
    }
    const size_t start = out.size();
    out.resize(start + outSize);
    stream.next_in = const_cast<Bytef*>(in);
    stream.avail_in = static_cast<uInt>(inSize);
    stream.next_out = reinterpret_cast<Bytef*>(&out[start]);
    stream.avail_out = static_cast<uInt>(outSize);
    // The block's deflate stream must end exactly where its stated size does.
    return inflate(&stream, Z_FINISH) == Z_STREAM_END && stream.avail_out == 0;
}

}  // namespace

bool isCompressedXFile(const unsigned char* bytes, size_t size) {
    return size >= kHeaderSize && std::memcmp(bytes, "xof ", 4) == 0 &&
           (std::memcmp(bytes + 8, "tzip", 4) == 0 || std::memcmp(bytes + 8, "bzip", 4) == 0);
}

bool decompressXFile(const unsigned char* bytes, size_t size, std::string& uncompressed) {
    if (!isCompressedXFile(bytes, size) || size < kHeaderSize + 4) return false;
    const uint32_t totalSize = littleEndian(bytes + kHeaderSize, 4);
    if (totalSize < kHeaderSize) return false;
    if (totalSize > kMaxInflatedBytes)
        return refuseXFile("it inflates to " + std::to_string(totalSize) + " bytes, more than the 16 MiB a mesh needs");

    uncompressed.assign(reinterpret_cast<const char*>(bytes), kHeaderSize);
    std::memcpy(&uncompressed[8], bytes[8] == 't' ? "txt " : "bin ", 4);

    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
    // The output grows block by block, each by at most 32 KiB, never by the size the file claims.
    const unsigned char* p = bytes + kHeaderSize + 4;
    const unsigned char* end = bytes + size;
    bool ok = true;
    while (ok && uncompressed.size() < totalSize) {
        if (end - p < 6) {
            ok = false;
            break;
        }
        const size_t blockSize = littleEndian(p, 2);
        const size_t packedSize = littleEndian(p + 2, 2);  // "CK" and the deflate data
        p += 4;
        ok = blockSize > 0 && blockSize <= kMaxBlockBytes && blockSize <= totalSize - uncompressed.size() &&
             packedSize > 2 && packedSize <= size_t(end - p) && p[0] == 'C' && p[1] == 'K' &&
             inflateBlock(stream, p + 2, packedSize - 2, uncompressed, blockSize);
        if (ok) p += packedSize;
    }
    inflateEnd(&stream);
    return ok;
}

}  // namespace velmora::d3dx
