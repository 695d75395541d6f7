// SPDX-License-Identifier: MIT
#include "atlas/plan/draw/plan_png.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "atlas/common/errors.h"
#include "atlas/common/isolated_render.h"

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

cairo_status_t append_png(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

std::string draw_png(const std::string& svg) {
  GError* error = nullptr;
  const std::unique_ptr<RsvgHandle, HandleDeleter> handle(
      rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error));
  if (!handle) throw RenderError("librsvg could not read the plan: " + message_of(error));

  double width = 0;
  double height = 0;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &width, &height) || width <= 0 ||
      height <= 0) {
    throw RenderError("the plan's SVG has no size in pixels");
  }
  const double scale = std::min(1.0, kMaxPlanPixels / std::max(width, height));
  const int pixels_wide = std::max(1, static_cast<int>(std::lround(width * scale)));
  const int pixels_high = std::max(1, static_cast<int>(std::lround(height * scale)));

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

  std::string png;
  const cairo_status_t status = cairo_surface_write_to_png_stream(surface.get(), append_png, &png);
  if (status != CAIRO_STATUS_SUCCESS) {
    throw RenderError(std::string("cairo could not write the PNG: ") +
                      cairo_status_to_string(status));
  }
  return png;
}

}  // namespace

std::string plan_png(const std::string& svg) {
  return render_isolated("the plan", [&] { return draw_png(svg); });
}

}  // namespace atlas
