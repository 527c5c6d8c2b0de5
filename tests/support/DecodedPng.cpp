#include "DecodedPng.h"

#include <png.h>

DecodedPng DecodePng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    DecodedPng decoded;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        return decoded;
    }
    image.format = PNG_FORMAT_GRAY;
    decoded.grey.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, decoded.grey.data(), 0, nullptr) != 0) {
        decoded.width = static_cast<int>(image.width);
        decoded.height = static_cast<int>(image.height);
    }
    return decoded;
}
