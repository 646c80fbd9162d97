// The settings dialog of the real program on a virtual X display, as a
// keyboard user and a screen-reader user meet it: a focus mark that can be
// seen on every stop of the Tab key, and over AT-SPI a dialog whose six
// choices are told apart by name and grouped as the frames show them.
#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/dialog_points.h"
#include "tests/e2e/display_fixture.h"
#include "tests/qt/focus_mark.h"

namespace {

// Blue and "普通" are stored: the Tab key stops on Option1(3) and Option2(3).
constexpr char kSettings[] = "[main]\nCOLOR1=0\nCOLOR2=0\nCOLOR3=240\nSP=200\n";

// Client-area places in pixels at 96 dots per inch (the design's twips / 15).
struct Stop {
  const char* name;
  QRect place;
};
constexpr Stop kDefault{"ﾃﾞﾌｫﾙﾄ", {16 + 252, 8 + 92, 74, 19}};
constexpr Stop kOk{"OK", {224, 176, 58, 20}};
constexpr Stop kCancel{"キャンセル", {284, 176, 74, 20}};
constexpr Stop kBlue{"the colour group", {16 + 12 + 104, 8 + 16 + 20, 22, 19}};
constexpr Stop kNormal{"the speed group", {16 + 172 + 100, 8 + 16 + 24, 17, 13}};

class AssistedDialog : public OnDisplay<1024, 768> {
 protected:
  void SetUp() override {
    OnDisplay::SetUp();
    WriteFile(install_.Ini(), kSettings);
  }

  // Opens /C and finds its window and client area's origin.
  std::unique_ptr<Process> OpenDialog() {
    auto dialog = std::make_unique<Process>(install_.Command({"/C"}), display().name());
    const std::optional<std::string> window = display().WaitForWindow();
    EXPECT_TRUE(window) << dialog->Stderr();
    if (!window) return dialog;
    window_ = *window;
    origin_ = display().WindowGeometry(window_).topLeft();
    return dialog;
  }

  // The stop's place and two pixels round it, in the client area.
  QImage Around(const QImage& shot, const Stop& stop) const {
    return shot.copy(stop.place.adjusted(-2, -2, 2, 2).translated(origin_));
  }

  // Presses Tab and waits until the place of the stop it reaches shows it.
  QImage TabOnto(const Stop& stop, const QImage& before) const {
    display().Xdo({"windowfocus", "--sync", window_, "key", "Tab"});
    QImage after;
    WaitUntil([&] {
      after = display().Screenshot();
      return Around(after, stop) != Around(before, stop);
    });
    return after;
  }

  std::string window_;
  QPoint origin_;
};

// From the first focus (Default), Tab goes to OK, Cancel, the colour group,
// the speed group and back to Default. Each stop, once the focus is on it,
// differs from itself without the focus in at least 20 pixels, by 3:1 or
// more.
TEST_F(AssistedDialog, EveryTabStopShowsAFocusMarkOfThreeToOne) {
  const auto dialog = OpenDialog();
  ASSERT_FALSE(window_.empty());
  QImage first;
  ASSERT_TRUE(WaitUntil([&] {
    first = display().Screenshot();
    const QPoint swatch = origin_ + kBlueSwatch;
    return (first.pixel(swatch) & 0xFFFFFF) == 0x0000FFu;
  })) << "the dialog is drawn";
  const QImage on_ok = TabOnto(kOk, first);
  const QImage on_cancel = TabOnto(kCancel, on_ok);
  const QImage on_colour = TabOnto(kBlue, on_cancel);
  const QImage on_speed = TabOnto(kNormal, on_colour);
  const QImage on_default = TabOnto(kDefault, on_speed);
  struct Seen {
    const Stop& stop;
    const QImage& focused;
    const QImage& unfocused;
  };
  for (const Seen& seen : {Seen{kDefault, on_default, on_ok}, Seen{kOk, on_ok, on_cancel},
                           Seen{kCancel, on_cancel, on_colour}, Seen{kBlue, on_colour, on_speed},
                           Seen{kNormal, on_speed, on_colour}}) {
    EXPECT_GE(MarkPixels(Around(seen.unfocused, seen.stop), Around(seen.focused, seen.stop)), 20)
        << seen.stop.name;
  }
  dialog->Kill();
}

// The lines that atspi_tree.py writes: "role|name|labels", indented by depth.
struct Node {
  int depth;
  std::string role, name, labels;
};

std::vector<Node> Nodes(const std::string& tree) {
  std::vector<Node> nodes;
  std::istringstream lines(tree);
  for (std::string line; std::getline(lines, line);) {
    const size_t indent = line.find_first_not_of(' ');
    if (indent == std::string::npos) continue;
    std::istringstream fields(line.substr(indent));
    Node node{static_cast<int>(indent / 2), {}, {}, {}};
    std::getline(fields, node.role, '|');
    std::getline(fields, node.name, '|');
    std::getline(fields, node.labels, '|');
    nodes.push_back(node);
  }
  return nodes;
}

// What a screen reader reads, over the desktop's accessibility bus: a dialog
// named 設定; six option buttons with six names, each labelled by the label
// under it, three in the group 文字色 and three in スピード.
TEST_F(AssistedDialog, AScreenReaderTellsTheChoicesApart) {
  const std::string tree_file = (install_.folder() / "atspi-tree").string();
  std::vector<std::string> command = {"dbus-run-session", "--",      "/usr/bin/python3",
                                      KELVORA_ATSPI_TREE, tree_file, "60"};
  for (const std::string& part : install_.Command({"/C"})) command.push_back(part);
  Process reader(command, display().name());
  ASSERT_EQ(reader.WaitExit(), 0) << reader.Stderr();
  const std::string tree = ReadFile(tree_file);
  const std::vector<Node> nodes = Nodes(tree);
  ASSERT_FALSE(nodes.empty()) << reader.Stderr();
  EXPECT_EQ(nodes.front().role, "dialog") << tree;
  EXPECT_EQ(nodes.front().name, "設定");

  std::map<std::string, std::vector<std::string>> groups;  // group: its options' names
  std::vector<std::string> path;                           // names along the way, by depth
  for (const Node& node : nodes) {
    path.resize(static_cast<size_t>(node.depth));
    if (node.role == "radio button") {
      EXPECT_NE(node.labels.find(node.name), std::string::npos)
          << node.name << " is labelled by the label under it: " << node.labels;
      groups[path.empty() ? "" : path.back()].push_back(node.name);
    }
    path.push_back(node.role == "panel" || node.role == "grouping" ? node.name : "");
  }
  using Names = std::vector<std::string>;
  EXPECT_EQ(groups, (std::map<std::string, Names>{{"文字色", Names{"緑", "赤", "青"}},
                                                  {"スピード", Names{"最速", "早い", "普通"}}}))
      << tree;
}

}  // namespace
