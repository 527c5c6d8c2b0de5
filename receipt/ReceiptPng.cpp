#include "ReceiptPng.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "PaperFigures.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::vector<png_byte> PackedRow(const Raster& raster, int y) {
    std::vector<png_byte> row((paper::kPaperDots + 7) / 8, 0);
    for (int x = 0; x < raster.Width(); ++x) {
        if (raster.Ink(x, y)) {
            const int at = x + paper::kMarginDots;
            row[static_cast<std::size_t>(at / 8)] |= static_cast<png_byte>(0x80 >> (at % 8));
        }
    }
    return row;
}

}  // namespace

std::uint8_t InkGrey(std::uint8_t contrast) {
    return static_cast<std::uint8_t>(160 - contrast * 160 / 255);
}

bool WriteReceiptPng(const Raster& raster, std::uint8_t contrast, const std::string& path,
                     std::string& error) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = path + ": the picture could not be written";
        return false;
    }
    png_init_io(png, file.get());
    // An empty receipt is still a picture: one white row.
    const int height = raster.Height() > 0 ? raster.Height() : 1;
    png_set_IHDR(png, info, paper::kPaperDots, static_cast<png_uint_32>(height), 1,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    const png_byte ink = InkGrey(contrast);
    png_color palette[2] = {{255, 255, 255}, {ink, ink, ink}};
    png_set_PLTE(png, info, palette, 2);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        std::vector<png_byte> row = PackedRow(raster, y);
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(file.get()) != 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
