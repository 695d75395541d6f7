// SPDX-License-Identifier: MIT
#include "atlas/plan/draw/plan_png.h"

#include <cairo.h>
#include <librsvg/rsvg.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "atlas/common/errors.h"
#include "atlas/common/isolated_render.h"
#include "atlas/plan/draw/png_writer.h"

namespace atlas {
namespace {

struct HandleDeleter {
  void operator()(RsvgHandle* handle) const { g_object_unref(handle); }
};
struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
  void operator()(cairo_t* context) const { cairo_destroy(context); }
};

// Takes the error, so that it is freed whatever happens next.
std::string message_of(GError* error) {
  if (error == nullptr) return "unknown error";
  std::string message = error->message;
  g_error_free(error);
  return message;
}

// A PNG starts with its signature (8 bytes) and its header chunk (25).
constexpr std::size_t kAfterHeader = 33;

void append_big_endian(std::string& out, uint32_t value) {
  for (const int shift : {24, 16, 8, 0}) out += static_cast<char>((value >> shift) & 0xFF);
}

// A pHYs chunk: how many pixels make a metre, so that printing the picture
// at its own size prints it at the scale asked for.
std::string density_chunk(double dots_per_inch) {
  const auto per_metre = static_cast<uint32_t>(std::lround(dots_per_inch / 0.0254));
  std::string body = "pHYs";
  append_big_endian(body, per_metre);
  append_big_endian(body, per_metre);
  body += '\x01';  // the unit is the metre
  std::string chunk;
  append_big_endian(chunk, static_cast<uint32_t>(body.size() - 4));
  chunk += body;
  append_big_endian(chunk,
                    static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                                static_cast<uInt>(body.size()))));
  return chunk;
}

std::string draw_png(const SvgDrawing& drawing) {
  GError* error = nullptr;
  const std::string& svg = drawing.svg;
  const std::unique_ptr<RsvgHandle, HandleDeleter> handle(
      rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error));
  if (!handle) throw RenderError("librsvg could not read the plan: " + message_of(error));
  const int pixels_wide = static_cast<int>(std::lround(drawing.width));
  const int pixels_high = static_cast<int>(std::lround(drawing.height));

  const std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels_wide, pixels_high));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
    throw RenderError("cairo could not make a " + std::to_string(pixels_wide) + " x " +
                      std::to_string(pixels_high) +
                      " image: " + cairo_status_to_string(cairo_surface_status(surface.get())));
  }
  const std::unique_ptr<cairo_t, ContextDeleter> context(cairo_create(surface.get()));
  cairo_set_source_rgb(context.get(), 1, 1, 1);
  cairo_paint(context.get());
  const RsvgRectangle viewport{0, 0, static_cast<double>(pixels_wide),
                               static_cast<double>(pixels_high)};
  if (!rsvg_handle_render_document(handle.get(), context.get(), &viewport, &error)) {
    throw RenderError("librsvg could not draw the plan: " + message_of(error));
  }
  cairo_surface_flush(surface.get());

  return draw::png_bytes(surface.get());
}

}  // namespace

bool png_possible(double width, double height) {
  const double wide = std::round(width);
  const double high = std::round(height);
  return wide >= 1 && high >= 1 && wide <= kMaxPngSide && high <= kMaxPngSide &&
         wide * kPngPixelBytes * high <= kMaxPngBytes;
}

double largest_png_share(double width, double height) {
  const double side = kMaxPngSide / std::max(width, height);
  const double area = std::sqrt(kMaxPngBytes / (kPngPixelBytes * width * height));
  return std::min({1.0, side, area});
}

std::string plan_png(const SvgDrawing& drawing, double dots_per_inch) {
  if (!png_possible(drawing.width, drawing.height)) {
    throw RenderError("a picture of " + std::to_string(std::lround(drawing.width)) + " x " +
                      std::to_string(std::lround(drawing.height)) +
                      " pixels is more than cairo can make");
  }
  std::string png = render_isolated("the plan", [&] { return draw_png(drawing); });
  if (dots_per_inch > 0) png.insert(kAfterHeader, density_chunk(dots_per_inch));
  return png;
}

}  // namespace atlas
