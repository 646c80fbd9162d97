#include "tests/daemon/top_level_windows.h"

#include <regex>
#include <sstream>

#include "tests/e2e/harness.h"

namespace {

// 0x600006 "kelvora": ("kelvora" "kelvora")  1600x600+0+0  +0+0
const std::regex kChildLine(
    R"re(^\s*(0x[0-9a-fA-F]+) (?:"(.*)"|\(has no name\)): \((?:"[^"]*" "([^"]*)")?\)\s+)re"
    R"re((\d+)x(\d+)[+-]-?\d+[+-]-?\d+\s+\+(-?\d+)\+(-?\d+))re");

bool IsViewable(const std::string& display, unsigned long id) {
  return RunToEnd({"xwininfo", "-id", std::to_string(id)}, display).find("IsViewable") !=
         std::string::npos;
}

}  // namespace

std::vector<TopLevelWindow> ViewableTopLevelWindows(const VirtualDisplay& display, int screen) {
  const std::string name = display.name() + "." + std::to_string(screen);
  std::istringstream lines(RunToEnd({"xwininfo", "-root", "-children"}, name));
  std::vector<TopLevelWindow> windows;
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (!std::regex_search(line, match, kChildLine)) continue;
    TopLevelWindow window;
    window.id = std::stoul(match[1], nullptr, 16);
    window.name = match[2];
    window.window_class = match[3];
    window.geometry =
        QRect(std::stoi(match[6]), std::stoi(match[7]), std::stoi(match[4]), std::stoi(match[5]));
    if (IsViewable(name, window.id)) windows.push_back(window);
  }
  return windows;
}

std::string Describe(const std::vector<TopLevelWindow>& windows) {
  std::ostringstream text;
  for (const TopLevelWindow& window : windows) {
    text << "\n  0x" << std::hex << window.id << std::dec << " \"" << window.name << "\" class \""
         << window.window_class << "\" " << window.geometry.width() << "x"
         << window.geometry.height() << "+" << window.geometry.x() << "+" << window.geometry.y();
  }
  return text.str();
}
