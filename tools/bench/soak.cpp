// The soak: the real rain (a build with bench probes) runs at SP=10 on a
// virtual display for a long time with no input, and every half minute the
// soak prints its resident and peak memory, its resources on the X server
// (pixmaps and their bytes, windows, graphics contexts) and the ticks per
// second since the last sample. At the end a key must end it.
// Usage: soak [--minutes N] [--width W] [--height H]
#include <xcb/res.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "tests/e2e/harness.h"
#include "tools/bench/process_stats.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kSampleEvery = 30s;

struct XResources {
  long pixmaps = 0;
  long windows = 0;
  long gcs = 0;
  double pixmap_mib = 0;
};

// The X server's count of the resources held by the client of that process.
XResources ResourcesOf(xcb_connection_t* connection, pid_t pid) {
  XResources found;
  xcb_res_client_id_spec_t spec{XCB_NONE, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
  xcb_res_query_client_ids_reply_t* ids = xcb_res_query_client_ids_reply(
      connection, xcb_res_query_client_ids(connection, 1, &spec), nullptr);
  if (ids == nullptr) return found;
  for (auto id = xcb_res_query_client_ids_ids_iterator(ids); id.rem;
       xcb_res_client_id_value_next(&id)) {
    if (xcb_res_client_id_value_value_length(id.data) != 1 ||
        static_cast<pid_t>(*xcb_res_client_id_value_value(id.data)) != pid)
      continue;
    const uint32_t client = id.data->spec.client;
    xcb_res_query_client_resources_reply_t* resources = xcb_res_query_client_resources_reply(
        connection, xcb_res_query_client_resources(connection, client), nullptr);
    for (auto type = xcb_res_query_client_resources_types_iterator(resources);
         resources != nullptr && type.rem; xcb_res_type_next(&type)) {
      xcb_get_atom_name_reply_t* name = xcb_get_atom_name_reply(
          connection, xcb_get_atom_name(connection, type.data->resource_type), nullptr);
      const std::string type_name(xcb_get_atom_name_name(name),
                                  static_cast<size_t>(xcb_get_atom_name_name_length(name)));
      std::free(name);
      if (type_name == "PIXMAP") found.pixmaps += type.data->count;
      if (type_name == "WINDOW") found.windows += type.data->count;
      if (type_name == "GC") found.gcs += type.data->count;
    }
    std::free(resources);
    xcb_res_query_client_pixmap_bytes_reply_t* bytes = xcb_res_query_client_pixmap_bytes_reply(
        connection, xcb_res_query_client_pixmap_bytes(connection, client), nullptr);
    if (bytes != nullptr) {
      found.pixmap_mib = (static_cast<double>(bytes->bytes_overflow) * 4294967296.0 +
                          static_cast<double>(bytes->bytes)) /
                         1048576.0;
    }
    std::free(bytes);
  }
  std::free(ids);
  return found;
}

long long TicksSoFar(const std::string& log) {
  const size_t at = log.rfind("bench-tick ");
  return at == std::string::npos ? 0 : std::stoll(log.substr(at + 11));
}

}  // namespace

int main(int argc, char** argv) {
  int minutes = 10;
  int width = 3840;
  int height = 2160;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--minutes") == 0) minutes = std::stoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--width") == 0) width = std::stoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--height") == 0) height = std::stoi(argv[i + 1]);
  }
  VirtualDisplay display(width, height);
  Installation install;
  WriteFile(install.Ini(), "[main]\nCOLOR1=240\nCOLOR2=0\nCOLOR3=0\nSP=10\n");
  xcb_connection_t* connection = xcb_connect(display.name().c_str(), nullptr);
  Process saver({install.Executable(), "/S"}, display.name());
  const Clock::time_point start = Clock::now();
  std::printf("kelvora /S at SP=10 on %d×%d for %d minutes, no input until the end\n\n", width,
              height, minutes);
  std::printf(
      "| minute | resident MiB | peak MiB | X pixmaps | pixmap MiB | X windows | X GCs | ticks/s "
      "|\n|---|---|---|---|---|---|---|---|\n");
  long long ticks_before = 0;
  for (auto at = start + kSampleEvery; at <= start + std::chrono::minutes(minutes);
       at += kSampleEvery) {
    std::this_thread::sleep_until(at);
    if (!saver.Running()) {
      std::printf("\nThe saver ended by itself:\n%s\n", saver.Stderr().c_str());
      return 1;
    }
    const XResources x = ResourcesOf(connection, saver.pid());
    const long long ticks = TicksSoFar(saver.Stderr());
    std::printf("| %.1f | %.1f | %.1f | %ld | %.1f | %ld | %ld | %.1f |\n",
                std::chrono::duration<double>(at - start).count() / 60,
                bench::ResidentMemoryMiB(saver.pid()), bench::PeakMemoryMiB(saver.pid()), x.pixmaps,
                x.pixmap_mib, x.windows, x.gcs,
                static_cast<double>(ticks - ticks_before) /
                    std::chrono::duration<double>(kSampleEvery).count());
    std::fflush(stdout);
    ticks_before = ticks;
  }
  display.Xdo({"key", "a"});
  const std::optional<int> status = saver.WaitExit(5s);
  std::printf("\nA key at the end: %s\n", status == 0
                                              ? "the saver ended with status 0"
                                              : "the saver did NOT end with status 0 within 5 s");
  xcb_disconnect(connection);
  return status == 0 ? 0 : 1;
}
