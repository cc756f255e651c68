// Pictures that stb_image 2.27 would mishandle are refused before it sees them (the
// inputs in fuzz/regressions/picture); real pictures, however well they compress, still
// load.
#include "DecodedImage.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <string>
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
    // A single colour compresses about as far as PNG goes.
    const Bytes file = picture(2048, 1024, false, true);
    const auto image = decode(file);
    ASSERT_TRUE(image) << file.size() << " bytes";
    EXPECT_EQ(image->info.Width, 2048u);
    EXPECT_EQ(image->info.Height, 1024u);
}

TEST(PictureGuard, JpegFilesAreRefused) {
    // stb_image 2.27's JPEG decoder cannot be kept safe from damaged data.
    EXPECT_TRUE(decode(picture(16, 16, false, false)));
    EXPECT_FALSE(decode(picture(16, 16, true, false)));
}

TEST(PictureGuard, SixteenBitPortableAnymapsAreRefused) {
    // stb_image 2.27 reads past its buffer narrowing 16-bit samples; 8-bit ones are fine.
    const std::string eightBit = std::string("P5\n2 2\n255\n") + std::string("\x10\x80\xff\x00", 4);
    const std::string sixteenBit = std::string("P5\n2 2\n65535\n") + std::string(8, '\x40');
    EXPECT_TRUE(decode(Bytes(eightBit.begin(), eightBit.end())));
    EXPECT_FALSE(decode(Bytes(sixteenBit.begin(), sixteenBit.end())));
}

}  // namespace
