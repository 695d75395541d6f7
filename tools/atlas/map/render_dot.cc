// SPDX-License-Identifier: MIT
#include "atlas/map/render_dot.h"

#include <graphviz/cgraph.h>
#include <graphviz/gvc.h>

#include <memory>
#include <mutex>

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

constexpr std::string_view kInstallHint =
    " (are the Graphviz plugins installed? On Debian: apt-get install libgvc6, "
    "then run 'dot -c' as root)";

struct ContextDeleter {
  void operator()(GVC_t* context) const { gvFreeContext(context); }
};
struct GraphDeleter {
  void operator()(Agraph_t* graph) const { agclose(graph); }
};

}  // namespace

std::string render_dot(const std::string& dot, std::string_view format) {
  const std::lock_guard lock(g_messages_mutex);
  g_messages.clear();
  agseterr(AGWARN);
  agseterrf(collect_message);

  const std::unique_ptr<GVC_t, ContextDeleter> context(gvContext());
  if (!context) throw RenderError("cannot start Graphviz" + std::string(kInstallHint));
  const std::unique_ptr<Agraph_t, GraphDeleter> graph(agmemread(dot.c_str()));
  if (!graph) throw RenderError("Graphviz could not read the map: " + take_messages());

  if (gvLayout(context.get(), graph.get(), "dot") != 0) {
    std::string messages = take_messages();
    throw RenderError("Graphviz could not lay out the map" +
                      (messages.empty() ? "" : ": " + messages) + std::string(kInstallHint));
  }
  char* data = nullptr;
  unsigned int length = 0;
  const std::string device(format);
  const int status = gvRenderData(context.get(), graph.get(), device.c_str(), &data, &length);
  std::string rendered;
  if (status == 0 && data != nullptr) rendered.assign(data, length);
  if (data != nullptr) gvFreeRenderData(data);
  gvFreeLayout(context.get(), graph.get());
  if (status != 0 || rendered.empty()) {
    std::string messages = take_messages();
    throw RenderError("Graphviz could not render " + device + (messages.empty() ? "" : ": ") +
                      messages + std::string(kInstallHint));
  }
  take_messages();
  return rendered;
}

}  // namespace atlas
