// SPDX-License-Identifier: MIT
// Turning DOT text into SVG or PNG with the Graphviz library.
#ifndef ATLAS_MAP_RENDER_DOT_H_
#define ATLAS_MAP_RENDER_DOT_H_

#include <string>
#include <string_view>

#include "atlas/common/errors.h"

namespace atlas {

// `format` is a Graphviz output format such as "svg" or "png". Returns the
// rendered bytes, drawn in a child process (atlas/common/isolated_render.h). Throws
// RenderError when Graphviz cannot draw the map or dies trying, and
// std::bad_alloc when it runs out of memory.
std::string render_dot(const std::string& dot, std::string_view format);

}  // namespace atlas

#endif  // ATLAS_MAP_RENDER_DOT_H_
