// Pictures are refused before decoding when their header claims more texels than their
// bytes can encode (fuzz/regressions/picture holds such files); real pictures, however
// well they compress, must still load.
#include "DecodedImage.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <vector>

using velmora::d3dx::decodeImage;

namespace {

using Bytes = std::vector<unsigned char>;

void appendTo(void* context, void* data, int size) {
    auto* out = static_cast<Bytes*>(context);
    out->insert(out->end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
}

Bytes picture(int width, int height, bool jpeg, bool solid) {
    std::vector<unsigned char> rgb((size_t)width * height * 3, 200);
    if (!solid)
        for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = (unsigned char)(i * 7 + i / 97);
    Bytes file;
    if (jpeg)
        stbi_write_jpg_to_func(appendTo, &file, width, height, 3, rgb.data(), 90);
    else
        stbi_write_png_to_func(appendTo, &file, width, height, 3, rgb.data(), width * 3);
    return file;
}

std::shared_ptr<const velmora::d3dx::DecodedImage> decode(const Bytes& file) {
    return decodeImage(file.data(), file.size());
}

TEST(PictureGuard, WellCompressedPicturesStillLoad) {
    // A single colour compresses about as far as these formats go.
    for (bool jpeg : {false, true}) {
        const Bytes file = picture(2048, 1024, jpeg, true);
        const auto image = decode(file);
        ASSERT_TRUE(image) << (jpeg ? "jpeg" : "png") << " of " << file.size() << " bytes";
        EXPECT_EQ(image->info.Width, 2048u);
        EXPECT_EQ(image->info.Height, 1024u);
    }
}

}  // namespace
