// Design data of forms and controls: what a form is created from each time
// it is loaded. Positions and sizes in twips, colours as r + 256 g + 65536 b.
#pragma once

#include <cstdint>
#include <string>

namespace rt {

// System colours: the high bit set and the system's colour index below it.
enum SystemColorIndex : int32_t {
  kWindowBackground = 5,
  kWindowText = 8,
  kButtonFace = 15,
  kButtonText = 18
};
constexpr int32_t SystemColor(SystemColorIndex index) {
  return static_cast<int32_t>(0x80000000u | static_cast<uint32_t>(index));
}
constexpr bool IsSystemColor(int32_t color) { return color < 0; }

enum class BorderStyle { kNone, kFixedDialog };

struct FontDesign {
  std::string name;
  float points = 9;
  int weight = 400;
};

struct FormDesign {
  std::string caption;
  BorderStyle border_style = BorderStyle::kNone;
  int32_t back_color = 0;
  float client_width = 0;
  float client_height = 0;
  bool centered = false;
  // Picture resources of the build, by name; empty for none.
  std::string icon;
  std::string picture;  // drawn unscaled from the client area's top-left corner
  // What assistive technology calls the window; empty: its caption.
  std::string accessible_name;
};

// A control that is a window of its own. For a line, left and top are its
// start and left + width, top + height its end.
struct ControlDesign {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  std::string caption;
  int32_t back_color = SystemColor(kButtonFace);
  int32_t fore_color = SystemColor(kButtonText);
  int tab_index = -1;      // frames and labels have one but take no focus; -1: none
  bool value = false;      // an option button's starting mark
  std::string picture;     // a button's face picture
  std::string mouse_icon;  // the pointer over the control; empty for the usual one
  // What assistive technology calls the control, for a label whose look
  // says it (a colour swatch); empty: its caption. An option button takes
  // the name of the label placed under it.
  std::string accessible_name;
};

struct PictureBoxDesign {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
  FontDesign font;
};

}  // namespace rt
