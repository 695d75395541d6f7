// SPDX-License-Identifier: MIT
// A cairo image as PNG bytes, written for speed: a plan is a few flat greys
// and their edges, so rows go unfiltered and run-length compressed, one
// byte a pixel when every pixel is grey. Cairo's own writer tries every
// filter on every row and compresses harder, four to five times as slowly.
#ifndef ATLAS_PLAN_DRAW_PNG_WRITER_H_
#define ATLAS_PLAN_DRAW_PNG_WRITER_H_

#include <cairo.h>

#include <string>

namespace atlas::draw {

// REQUIRES: `surface` is a flushed CAIRO_FORMAT_RGB24 image surface.
// Throws RenderError when libpng fails.
std::string png_bytes(cairo_surface_t* surface);

}  // namespace atlas::draw

#endif  // ATLAS_PLAN_DRAW_PNG_WRITER_H_
