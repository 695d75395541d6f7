// SPDX-License-Identifier: MIT
#include "atlas/plan/draw/png_writer.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "atlas/common/errors.h"

namespace atlas::draw {
namespace {

// Cairo keeps a pixel as one native 32-bit word, 0x00RRGGBB.
uint32_t pixel(const unsigned char* row, int x) {
  uint32_t word = 0;
  std::memcpy(&word, row + 4 * static_cast<std::ptrdiff_t>(x), sizeof word);
  return word;
}

bool all_grey(const unsigned char* data, int width, int height, int stride) {
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = data + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      const uint32_t p = pixel(row, x);
      if (((p >> 16) & 0xFF) != (p & 0xFF) || ((p >> 8) & 0xFF) != (p & 0xFF)) return false;
    }
  }
  return true;
}

// libpng reports errors by jumping back to png_bytes; an exception must not
// cross its C frames.
void append(png_structp png, png_bytep data, png_size_t length) {
  try {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
  } catch (...) {
    png_error(png, "out of memory");
  }
}

void no_flush(png_structp) {}

struct Image {
  const unsigned char* data;
  int width;
  int height;
  int stride;
  bool grey;
};

// Only plain data lives here, between setjmp and libpng's jump back.
bool write_rows(png_structp png, png_infop info, const Image& image, png_byte* line) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8,
               image.grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_compression_level(png, 1);
  png_set_compression_strategy(png, Z_RLE);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y) {
    const unsigned char* row = image.data + static_cast<std::ptrdiff_t>(y) * image.stride;
    png_byte* to = line;
    for (int x = 0; x < image.width; ++x) {
      const uint32_t p = pixel(row, x);
      if (image.grey) {
        *to++ = static_cast<png_byte>(p & 0xFF);
      } else {
        *to++ = static_cast<png_byte>(p >> 16);
        *to++ = static_cast<png_byte>(p >> 8);
        *to++ = static_cast<png_byte>(p);
      }
    }
    png_write_row(png, line);
  }
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

std::string png_bytes(cairo_surface_t* surface) {
  Image image{cairo_image_surface_get_data(surface), cairo_image_surface_get_width(surface),
              cairo_image_surface_get_height(surface), cairo_image_surface_get_stride(surface),
              false};
  image.grey = all_grey(image.data, image.width, image.height, image.stride);
  std::string out;
  std::vector<png_byte> line(static_cast<std::size_t>(image.width) * (image.grey ? 1 : 3));
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
  bool written = false;
  if (info != nullptr) {
    png_set_write_fn(png, &out, append, no_flush);
    written = write_rows(png, info, image, line.data());
  }
  png_destroy_write_struct(&png, &info);
  if (!written) throw RenderError("libpng could not write the picture");
  return out;
}

}  // namespace atlas::draw
