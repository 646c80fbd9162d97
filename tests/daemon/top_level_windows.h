// The windows that show on a screen by themselves: the mapped children of
// its root window, as xwininfo reports them.
#pragma once

#include <QRect>
#include <string>
#include <vector>

class VirtualDisplay;

struct TopLevelWindow {
  unsigned long id = 0;
  std::string name;
  std::string window_class;  // the second WM_CLASS string
  QRect geometry;
};

std::vector<TopLevelWindow> ViewableTopLevelWindows(const VirtualDisplay& display, int screen);

// One line per window, for a failure message.
std::string Describe(const std::vector<TopLevelWindow>& windows);
