#include "velmora/Screenshot.h"

#include "Device.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace velmora {

namespace {

bool readFrame(Image& out, bool drawnSize) {
    d3d9::Device* device = d3d9::Device::current();
    if (!device) return false;
    UINT width = 0, height = 0;
    d3d9::Renderer& renderer = device->renderer();
    if (!(drawnSize ? renderer.readDrawn(out.rgba, width, height) : renderer.readBack(out.rgba, width, height)))
        return false;
    out.width = width;
    out.height = height;
    return true;
}

}  // namespace

bool readBackBuffer(Image& out) { return readFrame(out, false); }

bool readDrawnFrame(Image& out) { return readFrame(out, true); }

bool writePng(const Image& image, const std::string& path) {
    if (image.width == 0 || image.height == 0 || image.rgba.size() < size_t(image.width) * image.height * 4)
        return false;
    return stbi_write_png(path.c_str(), int(image.width), int(image.height), 4, image.rgba.data(),
                          int(image.width * 4)) != 0;
}

bool saveScreenshot(const std::string& path) {
    Image image;
    return readBackBuffer(image) && writePng(image, path);
}

}  // namespace velmora
