// SPDX-License-Identifier: MIT
#include "atlas/map/render_dot.h"

#include <graphviz/cgraph.h>
#include <graphviz/gvc.h>

#include <cstdlib>
#include <memory>
#include <mutex>

#include "atlas/common/isolated_render.h"

namespace atlas {
namespace {

// Graphviz reports problems through a process-wide callback; collect them so
// the error names the cause instead of printing Graphviz's lines as well.
std::mutex g_messages_mutex;
std::string g_messages;

extern "C" int collect_message(char* message) {
  std::string_view text(message);
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.remove_suffix(1);
  if (!text.empty()) {
    if (!g_messages.empty()) g_messages += "; ";
    g_messages += text;
  }
  return 0;
}

std::string take_messages() {
  std::string messages;
  messages.swap(g_messages);
  return messages;
}

// Reinstalling also registers the plugins, which a missing or stale
// registry would otherwise hide from the library.
constexpr std::string_view kPluginsMissing =
    "the Graphviz plugins are missing (on Debian: apt-get install --reinstall libgvc6)";

// Graphviz has a plugin of `kind` ("layout", "device") called `name`.
bool has_plugin(GVC_t* context, const char* kind, std::string_view name) {
  int count = 0;
  char** names = gvPluginList(context, kind, &count, nullptr);
  bool found = false;
  for (int i = 0; i < count; ++i) {
    found = found || name == names[i];
    std::free(names[i]);
  }
  std::free(names);
  return found;
}

struct ContextDeleter {
  void operator()(GVC_t* context) const { gvFreeContext(context); }
};
struct GraphDeleter {
  void operator()(Agraph_t* graph) const { agclose(graph); }
};

std::string render_here(const std::string& dot, std::string_view format) {
  const std::lock_guard lock(g_messages_mutex);
  g_messages.clear();
  agseterr(AGWARN);
  agseterrf(collect_message);

  const std::unique_ptr<GVC_t, ContextDeleter> context(gvContext());
  const std::string device(format);
  if (!context || !has_plugin(context.get(), "layout", "dot") ||
      !has_plugin(context.get(), "device", device)) {
    throw RenderError("cannot draw the map as " + device + ": " + std::string(kPluginsMissing));
  }
  const std::unique_ptr<Agraph_t, GraphDeleter> graph(agmemread(dot.c_str()));
  if (!graph) throw RenderError("Graphviz could not read the map: " + take_messages());

  if (gvLayout(context.get(), graph.get(), "dot") != 0) {
    std::string messages = take_messages();
    throw RenderError("Graphviz could not lay out the map" +
                      (messages.empty() ? "" : ": " + messages));
  }
  char* data = nullptr;
  unsigned int length = 0;
  const int status = gvRenderData(context.get(), graph.get(), device.c_str(), &data, &length);
  std::string rendered;
  if (status == 0 && data != nullptr) rendered.assign(data, length);
  if (data != nullptr) gvFreeRenderData(data);
  gvFreeLayout(context.get(), graph.get());
  if (status != 0 || rendered.empty()) {
    std::string messages = take_messages();
    throw RenderError("Graphviz could not render " + device + (messages.empty() ? "" : ": ") +
                      messages);
  }
  take_messages();
  return rendered;
}

}  // namespace

std::string render_dot(const std::string& dot, std::string_view format) {
  return render_isolated("the map", [&] { return render_here(dot, format); });
}

}  // namespace atlas
