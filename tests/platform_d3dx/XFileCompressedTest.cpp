// Compressed .x files ("tzip", "bzip") load like their text and binary twins.
#include "XFileDecoder.h"
#include "XFileRewriter.h"
#include "XFileText.h"
#include "MemoryCeiling.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>

using velmora::d3dx::decodeXFile;
using velmora::d3dx::MeshData;

namespace {

std::shared_ptr<const MeshData> decode(const std::string& bytes) {
    return decodeXFile(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

void putLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xff);
}

// The compressed form of an uncompressed .x file, in MSZIP blocks of `blockSize` body bytes
// each compressed against the history of the blocks before it.
std::string compress(const std::string& file, size_t blockSize) {
    std::string out = file.substr(0, 16);
    std::memcpy(&out[8], file.compare(8, 4, "txt ") == 0 ? "tzip" : "bzip", 4);
    putLittleEndian(out, (uint32_t)file.size(), 4);
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    for (size_t start = 16; start < file.size(); start += blockSize) {
        const size_t count = std::min(blockSize, file.size() - start);
        deflateReset(&stream);
        const size_t history = std::min<size_t>(start - 16, 32768);
        if (history) deflateSetDictionary(&stream, (const Bytef*)file.data() + start - history, (uInt)history);
        std::string packed(deflateBound(&stream, (uLong)count), '\0');
        stream.next_in = (Bytef*)file.data() + start;
        stream.avail_in = (uInt)count;
        stream.next_out = (Bytef*)&packed[0];
        stream.avail_out = (uInt)packed.size();
        EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
        packed.resize(packed.size() - stream.avail_out);
        putLittleEndian(out, (uint32_t)count, 2);
        putLittleEndian(out, (uint32_t)packed.size() + 2, 2);
        out += "CK" + packed;
    }
    deflateEnd(&stream);
    return out;
}

void expectSameMesh(const MeshData& a, const MeshData& b) {
    ASSERT_EQ(a.vertices.size(), b.vertices.size());
    EXPECT_EQ(std::memcmp(a.vertices.data(), b.vertices.data(), a.vertices.size() * sizeof(a.vertices[0])), 0);
    EXPECT_EQ(a.indices, b.indices);
    EXPECT_EQ(a.attributes, b.attributes);
    ASSERT_EQ(a.materials.size(), b.materials.size());
    for (size_t m = 0; m < a.materials.size(); ++m) {
        EXPECT_EQ(std::memcmp(&a.materials[m].material, &b.materials[m].material, sizeof(D3DMATERIAL9)), 0);
        EXPECT_EQ(a.materials[m].textureFile, b.materials[m].textureFile);
    }
}

class XFileCompressed : public testing::Test {
protected:
    XFileCompressed() {
        XMeshText mesh;
        for (int i = 0; i < 40; ++i) mesh.positions.push_back({i * 0.5f, (i % 7) * 1.25f, -i * 0.75f});
        for (int i = 0; i + 2 < 40; ++i) {
            mesh.faces.push_back({i, i + 1, i + 2});
            mesh.faceMaterials.push_back(i % 2);
        }
        mesh.uvs.assign(40, {0.25f, 0.5f});
        mesh.materials = {{{1.0f, 0.5f, 0.25f, 0.75f}, 12.0f, {0.1f, 0.2f, 0.3f}, {0, 0, 0}, "skin.png"},
                          {{0.0f, 0.25f, 1.0f, 1.0f}, 3.5f, {1, 1, 1}, {0, 0, 0}, ""}};
        const float move[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1};
        text = xFile(xFrame("Body", move, mesh.text()));
        EXPECT_TRUE(velmora::d3dx::rewriteXFile((const unsigned char*)text.data(), text.size(), binary));
    }
    std::string text, binary;
};

TEST_F(XFileCompressed, LoadsLikeItsUncompressedTwin) {
    for (const std::string* file : {&text, &binary}) {
        const auto plain = decode(*file);
        ASSERT_TRUE(plain);
        // Small blocks: many of them, each referring back into the ones before.
        for (size_t blockSize : {size_t(97), size_t(32768)}) {
            const std::string packed = compress(*file, blockSize);
            const auto unpacked = decode(packed);
            ASSERT_TRUE(unpacked) << packed.substr(8, 4) << " in blocks of " << blockSize;
            expectSameMesh(*unpacked, *plain);
        }
    }
}

TEST_F(XFileCompressed, DamagedFilesAreRefused) {
    const std::string good = compress(text, 97);
    ASSERT_TRUE(decode(good));
    auto refused = [&](std::string bad, const char* what) { EXPECT_FALSE(decode(bad)) << what; };
    refused(good.substr(0, good.size() / 2), "truncated");
    refused(good.substr(0, 20), "header and size only");
    std::string garbage = good;
    for (size_t i = 40; i < garbage.size(); i += 3) garbage[i] = char(garbage[i] * 31 + 7);
    refused(garbage, "garbled blocks");
    std::string noSignature = good;
    noSignature[24] = 'X';
    refused(noSignature, "block without CK");
    for (uint32_t claimed : {uint32_t(text.size() + 1), uint32_t(text.size() - 1), 0xFFFFFFFFu, 0u}) {
        std::string wrongSize = good;
        for (int i = 0; i < 4; ++i) wrongSize[16 + i] = char((claimed >> (8 * i)) & 0xff);
        refused(wrongSize, "total size that the blocks do not make");
    }
    std::string oversized = good;
    oversized[20] = '\x01', oversized[21] = '\x80';  // a first block of 32769 bytes
    refused(oversized, "block larger than 32 KiB");
}

// `blocks` blocks of 32 KiB of '{', each a few dozen bytes packed: a few kilobytes that
// would cost gigabytes of text, then of tokens.
std::string braceBomb(size_t blocks) {
    const std::string two = compress("xof 0302txt 0032" + std::string(2 * 32768, '{'), 32768);
    const size_t secondBlock = 24 + uint8_t(two[22]) + (uint8_t(two[23]) << 8);
    std::string out = two.substr(0, secondBlock);
    for (size_t i = 1; i < blocks; ++i) out += two.substr(secondBlock);
    for (int i = 0; i < 4; ++i) out[16 + i] = char(((16 + blocks * 32768) >> (8 * i)) & 0xff);
    return out;
}

TEST(XFileBomb, IsRefusedWithinBoundedMemory) {
    // 1 GiB of text; then 16 MiB, within what a mesh may inflate to, of 16 M tokens.
    for (size_t blocks : {size_t(32767), size_t(511)}) {
        const std::string bomb = braceBomb(blocks);
        EXPECT_TRUE(velmora::test::runsWithinMemory(192 << 20, [&] {
            if (decode(bomb)) std::_Exit(1);
        })) << blocks << " blocks";
    }
}

}  // namespace
