// SPDX-License-Identifier: MIT
// Drawing with libraries that end the process when memory runs short:
// fontconfig, pango, cairo and GLib abort or crash by design when an
// allocation fails. Drawn in a child process, such an end becomes one line of
// ours, and the output file the drawing was for is left as it was.
#ifndef ATLAS_COMMON_ISOLATED_RENDER_H_
#define ATLAS_COMMON_ISOLATED_RENDER_H_

#include <functional>
#include <string>
#include <string_view>

namespace atlas {

// Returns what `draw` returns, computed in a child process whose standard
// error goes nowhere (the libraries' own complaints). `what` names the
// drawing in messages ("the map"). Throws RenderError with draw's own message
// when draw throws it or any other exception, std::bad_alloc when the child
// ran out of memory, and RenderError naming the signal when the child died.
// Where no child can be started (a process limit), draws in this process.
// REQUIRES: this process runs no other thread that holds a lock draw needs.
std::string render_isolated(std::string_view what, const std::function<std::string()>& draw);

}  // namespace atlas

#endif  // ATLAS_COMMON_ISOLATED_RENDER_H_
