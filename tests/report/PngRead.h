#pragma once
// Reads a PNG file back for the tests, through libpng's simplified interface.
#include <png.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "imaging/Bitmap.h"

namespace photocheck::test {

inline Bitmap readPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) throw std::runtime_error(image.message);
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        throw std::runtime_error(image.message);
    Bitmap b(static_cast<int>(image.width), static_cast<int>(image.height));
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            const png_byte* p = &pixels[(static_cast<size_t>(y) * image.width + static_cast<size_t>(x)) * 3];
            b.setPixel(x, y, makeColour(p[0], p[1], p[2]));
        }
    return b;
}

}  // namespace photocheck::test
