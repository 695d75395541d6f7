// SPDX-License-Identifier: MIT
// Turning DOT text into SVG or PNG with the Graphviz library.
#ifndef ATLAS_RENDER_H_
#define ATLAS_RENDER_H_

#include <stdexcept>
#include <string>
#include <string_view>

namespace atlas {

// Graphviz could not draw the map: a missing plugin, usually. The message
// says what to install.
class RenderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `format` is a Graphviz output format such as "svg" or "png". Returns the
// rendered bytes, drawn in a child process (atlas/isolated_render.h). Throws
// RenderError when Graphviz cannot draw the map or dies trying, and
// std::bad_alloc when it runs out of memory.
std::string render_dot(const std::string& dot, std::string_view format);

}  // namespace atlas

#endif  // ATLAS_RENDER_H_
