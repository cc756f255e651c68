// D3DX textures from picture files and empty ones, on the headless device.
#include <d3dx9.h>

#include "HeadlessDeviceTest.h"
#include "TempDir.h"

#include "velmora/D3DXCache.h"

#include <stb_image_write.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Pictures as RGBA bytes, written with stb_image_write.
struct Picture {
    int width, height;
    std::vector<unsigned char> rgba;

    Picture(int w, int h) : width(w), height(h), rgba((size_t)w * h * 4, 0) {}

    void set(int x, int y, uint32_t argb) {
        unsigned char* p = &rgba[((size_t)y * width + x) * 4];
        p[0] = (argb >> 16) & 0xff;
        p[1] = (argb >> 8) & 0xff;
        p[2] = argb & 0xff;
        p[3] = argb >> 24;
    }
    void fill(int x0, int y0, int x1, int y1, uint32_t argb) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) set(x, y, argb);
    }
    std::vector<unsigned char> channels(int count) const {
        std::vector<unsigned char> out;
        for (size_t i = 0; i < rgba.size(); i += 4) out.insert(out.end(), &rgba[i], &rgba[i] + count);
        return out;
    }
    std::string writePng(const TempDir& dir, const std::string& name, int channelCount) const {
        const std::string path = dir.file(name);
        const auto data = channels(channelCount);
        EXPECT_TRUE(stbi_write_png(path.c_str(), width, height, channelCount, data.data(), width * channelCount));
        return path;
    }
    std::string writeBmp(const TempDir& dir, const std::string& name) const {
        const std::string path = dir.file(name);
        const auto data = channels(3);
        EXPECT_TRUE(stbi_write_bmp(path.c_str(), width, height, 3, data.data()));
        return path;
    }
};

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class TextureTest : public HeadlessDeviceTest {
protected:
    void TearDown() override {
        for (IDirect3DTexture9* texture : textures_) texture->Release();
        HeadlessDeviceTest::TearDown();
    }

    // The game's Texture::load call, with the size mode, filter and key given.
    IDirect3DTexture9* load(const std::string& path, UINT size, D3DXIMAGE_INFO* info = nullptr,
                            DWORD filter = D3DX_DEFAULT, UINT mipLevels = D3DX_DEFAULT, D3DCOLOR key = 0,
                            UINT height = 0) {
        IDirect3DTexture9* texture = nullptr;
        const HRESULT hr = D3DXCreateTextureFromFileExA(device, path.c_str(), size, height ? height : size, mipLevels,
                                                        0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, filter, D3DX_DEFAULT, key,
                                                        info, nullptr, &texture);
        EXPECT_EQ(hr, D3D_OK) << path;
        if (texture) textures_.push_back(texture);
        return texture;
    }

    static D3DSURFACE_DESC levelDesc(IDirect3DTexture9* texture, UINT level = 0) {
        D3DSURFACE_DESC desc{};
        EXPECT_EQ(texture->GetLevelDesc(level, &desc), D3D_OK);
        return desc;
    }

    static uint32_t texel(IDirect3DTexture9* texture, UINT level, UINT x, UINT y) {
        D3DLOCKED_RECT locked;
        EXPECT_EQ(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        const uint32_t value = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch)[x];
        texture->UnlockRect(level);
        return value;
    }

    // An 800 x 600 picture: red left half, blue right half, a green top-left texel.
    std::string screenPicture() {
        Picture picture(800, 600);
        picture.fill(0, 0, 400, 600, 0xFFFF0000);
        picture.fill(400, 0, 800, 600, 0xFF0000FF);
        picture.set(0, 0, 0xFF00FF00);
        return picture.writePng(dir, "screen.png", 3);
    }

    TempDir dir;

private:
    std::vector<IDirect3DTexture9*> textures_;
};

TEST_F(TextureTest, SizeModesKeepOrStretchThePictureAndReportTheFile) {
    struct Texel {
        UINT x, y;
        uint32_t argb;
    };
    struct SizeMode {
        UINT size, width, height, levels;
        Texel texels[3];
    };
    const SizeMode modes[] = {
        // The picture's own size, 800x600 down to 1x1.
        {D3DX_DEFAULT_NONPOW2, 800, 600, 10, {{0, 0, 0xFF00FF00u}, {399, 300, 0xFFFF0000u}, {400, 300, 0xFF0000FFu}}},
        // The halves are stretched with the picture, not placed unscaled.
        {D3DX_DEFAULT, 1024, 1024, 11, {{100, 900, 0xFFFF0000u}, {900, 900, 0xFF0000FFu}, {1023, 1023, 0xFF0000FFu}}},
    };
    for (const SizeMode& mode : modes) {
        SCOPED_TRACE(mode.width);
        D3DXIMAGE_INFO info{};
        IDirect3DTexture9* texture = load(screenPicture(), mode.size, &info);
        ASSERT_NE(texture, nullptr);
        const D3DSURFACE_DESC desc = levelDesc(texture);
        EXPECT_EQ(desc.Width, mode.width);
        EXPECT_EQ(desc.Height, mode.height);
        EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
        EXPECT_EQ(texture->GetLevelCount(), mode.levels);

        EXPECT_EQ(info.Width, 800u);
        EXPECT_EQ(info.Height, 600u);
        EXPECT_EQ(info.Depth, 1u);
        EXPECT_EQ(info.MipLevels, 1u);
        EXPECT_EQ(info.Format, D3DFMT_R8G8B8);
        EXPECT_EQ(info.ResourceType, D3DRTYPE_TEXTURE);
        EXPECT_EQ(info.ImageFileFormat, D3DXIFF_PNG);

        for (const Texel& t : mode.texels) EXPECT_EQ(texel(texture, 0, t.x, t.y), t.argb) << t.x << ", " << t.y;
    }
    // Size 0 means the default.
    IDirect3DTexture9* zero = load(screenPicture(), 0);
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(levelDesc(zero).Width, 1024u);
    EXPECT_EQ(texel(zero, 0, 900, 900), 0xFF0000FFu);
}

TEST_F(TextureTest, FilterNonePlacesThePictureUnscaledAtTheTopLeft) {
    Picture picture(200, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) picture.set(x, y, 0xFF000000u | (uint32_t)(x << 8) | (uint32_t)y);
    const std::string path = picture.writePng(dir, "strip.png", 3);

    IDirect3DTexture9* texture = load(path, 1280, nullptr, D3DX_FILTER_NONE, 1, 0, 256);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(levelDesc(texture).Width, 1280u);
    EXPECT_EQ(levelDesc(texture).Height, 256u);
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    for (UINT y : {0u, 37u, 99u})
        for (UINT x : {0u, 15u, 199u}) EXPECT_EQ(texel(texture, 0, x, y), 0xFF000000u | (x << 8) | y);
    EXPECT_EQ(texel(texture, 0, 200, 0), 0u);
    EXPECT_EQ(texel(texture, 0, 0, 100), 0u);
    EXPECT_EQ(texel(texture, 0, 1279, 255), 0u);

    // The game's effect textures: size 0 with no filter gives a power-of-two canvas.
    IDirect3DTexture9* canvas = load(path, 0, nullptr, D3DX_FILTER_NONE, 1);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(levelDesc(canvas).Width, 256u);
    EXPECT_EQ(levelDesc(canvas).Height, 128u);
    EXPECT_EQ(texel(canvas, 0, 199, 99), 0xFF00C763u);
    EXPECT_EQ(texel(canvas, 0, 255, 127), 0u);
}

TEST_F(TextureTest, ColourKeyCutsOutMatchingTexels) {
    Picture picture(16, 16);
    picture.fill(0, 0, 16, 16, 0xFFFF00FF);
    picture.fill(4, 4, 12, 12, 0xFF204060);
    const std::string path = picture.writeBmp(dir, "sprite.bmp");

    D3DXIMAGE_INFO info{};
    IDirect3DTexture9* texture = load(path, 0, &info, D3DX_FILTER_NONE, 1, 0xFFFF00FF);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(levelDesc(texture).Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(info.Format, D3DFMT_R8G8B8);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_BMP);
    EXPECT_EQ(texel(texture, 0, 0, 0), 0u);
    EXPECT_EQ(texel(texture, 0, 15, 3), 0u);
    EXPECT_EQ(texel(texture, 0, 4, 4), 0xFF204060u);

    // Without the opaque alpha in the key nothing matches.
    IDirect3DTexture9* unkeyed = load(path, 0, nullptr, D3DX_FILTER_NONE, 1, 0x00FF00FF);
    ASSERT_NE(unkeyed, nullptr);
    EXPECT_EQ(texel(unkeyed, 0, 0, 0), 0xFFFF00FFu);
}

TEST_F(TextureTest, AlphaPicturesKeepTheirAlpha) {
    Picture picture(8, 8);
    picture.fill(0, 0, 8, 8, 0x80FFFFFF);
    picture.set(3, 3, 0x00000000);
    D3DXIMAGE_INFO info{};
    IDirect3DTexture9* texture = load(picture.writePng(dir, "glow.png", 4), D3DX_DEFAULT, &info, D3DX_DEFAULT, 1);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(info.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(levelDesc(texture).Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(texel(texture, 0, 0, 0), 0x80FFFFFFu);
    EXPECT_EQ(texel(texture, 0, 3, 3), 0u);
}

TEST_F(TextureTest, MipLevelsAreBoxFilteredHalves) {
    // Columns alternate black and white: every 2x2 block averages to mid grey.
    Picture picture(64, 32);
    for (int x = 0; x < 64; x += 2) picture.fill(x, 0, x + 1, 32, 0xFFFFFFFF);
    for (int x = 1; x < 64; x += 2) picture.fill(x, 0, x + 1, 32, 0xFF000000);
    const std::string path = picture.writePng(dir, "stripes.png", 3);

    IDirect3DTexture9* full = load(path, D3DX_DEFAULT_NONPOW2, nullptr, D3DX_DEFAULT, 0);
    ASSERT_NE(full, nullptr);
    ASSERT_EQ(full->GetLevelCount(), 7u);  // 64x32, 32x16, ..., 1x1
    EXPECT_EQ(levelDesc(full, 1).Width, 32u);
    EXPECT_EQ(levelDesc(full, 1).Height, 16u);
    EXPECT_EQ(levelDesc(full, 6).Width, 1u);
    for (UINT level = 1; level < 7; ++level) EXPECT_EQ(texel(full, level, 0, 0), 0xFF808080u) << level;

    IDirect3DTexture9* single = load(path, D3DX_DEFAULT_NONPOW2, nullptr, D3DX_DEFAULT, 1);
    ASSERT_NE(single, nullptr);
    EXPECT_EQ(single->GetLevelCount(), 1u);
}

TEST_F(TextureTest, BrokenPicturesFailWithoutATexture) {
    Picture picture(32, 32);
    picture.fill(0, 0, 32, 32, 0xFF123456);
    const std::string png = fileBytes(picture.writePng(dir, "good.png", 3));
    const std::string bmp = fileBytes(picture.writeBmp(dir, "good.bmp"));
    std::string noise(2048, '\0');
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = (char)((i * 2654435761u) >> 11);

    const std::string candidates[] = {
        dir.file("absent.png"),
        dir.file(""),  // a folder
        dir.write("empty.png", ""),
        dir.write("cut.png", png.substr(0, png.size() / 2)),
        dir.write("cut.bmp", bmp.substr(0, bmp.size() - 100)),
        dir.write("noise.png", noise),
        dir.write("noise.bmp", "BM" + noise),
        dir.write("header.png", png.substr(0, 40)),
        dir.write("mesh.png", "xof 0303txt 0032\nMesh {}"),
    };
    for (const std::string& path : candidates) {
        IDirect3DTexture9* texture = nullptr;
        D3DXIMAGE_INFO info{};
        info.Width = 77;
        const HRESULT hr = D3DXCreateTextureFromFileExA(device, path.c_str(), D3DX_DEFAULT, D3DX_DEFAULT,
                                                        D3DX_DEFAULT, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                                        D3DX_DEFAULT, D3DX_DEFAULT, 0, &info, nullptr, &texture);
        EXPECT_TRUE(hr == D3DXERR_INVALIDDATA || hr == D3DERR_NOTAVAILABLE) << path;
        EXPECT_EQ(texture, nullptr) << path;
        EXPECT_EQ(info.Width, 77u) << path;
        EXPECT_EQ(D3DXGetImageInfoFromFileA(path.c_str(), &info), D3DXERR_INVALIDDATA) << path;
    }
}

TEST_F(TextureTest, LoadsOfOnePictureShareTheDecode) {
    const std::string path = screenPicture();
    velmora::clearD3DXCaches();
    const unsigned before = velmora::d3dxCacheStats().imageFilesDecoded;
    IDirect3DTexture9* first = load(path, D3DX_DEFAULT);
    IDirect3DTexture9* second = load(path, D3DX_DEFAULT);
    IDirect3DTexture9* third = load(path, D3DX_DEFAULT_NONPOW2);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(velmora::d3dxCacheStats().imageFilesDecoded, before + 1);
    EXPECT_NE(first, second);

    // Each texture is its own: writing into one leaves the other alone.
    D3DLOCKED_RECT locked;
    ASSERT_EQ(first->LockRect(0, &locked, nullptr, 0), D3D_OK);
    *static_cast<uint32_t*>(locked.pBits) = 0xDEADBEEF;
    first->UnlockRect(0);
    EXPECT_EQ(texel(second, 0, 0, 0), texel(third, 0, 0, 0));
    EXPECT_NE(texel(second, 0, 0, 0), 0xDEADBEEFu);
    EXPECT_EQ(texel(first, 0, 0, 0), 0xDEADBEEFu);

    // Loads after the write still get the picture as the file has it, and every level of
    // it; a write into a lower level of one stays in that one.
    IDirect3DTexture9* fourth = load(path, D3DX_DEFAULT);
    IDirect3DTexture9* fifth = load(path, D3DX_DEFAULT);
    ASSERT_NE(fourth, nullptr);
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(texel(fourth, 0, 0, 0), texel(second, 0, 0, 0));
    const UINT last = fourth->GetLevelCount() - 1;
    const uint32_t smallest = texel(fifth, last, 0, 0);
    ASSERT_EQ(fourth->LockRect(last, &locked, nullptr, 0), D3D_OK);
    *static_cast<uint32_t*>(locked.pBits) = 0xDEADBEEF;
    fourth->UnlockRect(last);
    EXPECT_EQ(texel(fifth, last, 0, 0), smallest);
    EXPECT_EQ(texel(fourth, last, 0, 0), 0xDEADBEEFu);
}

TEST_F(TextureTest, CreateTextureFixesItsParameters) {
    IDirect3DTexture9* white = nullptr;
    ASSERT_EQ(D3DXCreateTexture(device, 1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &white), D3D_OK);
    EXPECT_EQ(white->GetLevelCount(), 1u);
    D3DSURFACE_DESC desc = levelDesc(white);
    EXPECT_EQ(desc.Width, 1u);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
    white->Release();

    IDirect3DTexture9* defaults = nullptr;
    ASSERT_EQ(D3DXCreateTexture(device, D3DX_DEFAULT, 0, D3DX_DEFAULT, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, &defaults),
              D3D_OK);
    desc = levelDesc(defaults);
    EXPECT_EQ(desc.Width, 256u);
    EXPECT_EQ(desc.Height, 1u);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(defaults->GetLevelCount(), 9u);
    defaults->Release();

    IDirect3DTexture9* opaque = nullptr;
    ASSERT_EQ(D3DXCreateTexture(device, 64, 64, 2, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &opaque), D3D_OK);
    EXPECT_EQ(levelDesc(opaque).Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(opaque->GetLevelCount(), 2u);
    opaque->Release();
}

TEST_F(TextureTest, ImageInfoReadsTheFile) {
    Picture picture(30, 20);
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXGetImageInfoFromFileA(picture.writeBmp(dir, "small.bmp").c_str(), &info), D3D_OK);
    EXPECT_EQ(info.Width, 30u);
    EXPECT_EQ(info.Height, 20u);
    EXPECT_EQ(info.Format, D3DFMT_R8G8B8);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_BMP);
    ASSERT_EQ(D3DXGetImageInfoFromFileA(picture.writePng(dir, "small.png", 4).c_str(), &info), D3D_OK);
    EXPECT_EQ(info.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_PNG);
}

}  // namespace
