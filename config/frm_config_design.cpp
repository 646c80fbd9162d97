#include "config/frm_config_design.h"

namespace config_design {
namespace {

// Constants, not RGB calls: the dialog's design is read while the program's
// statics are being made, in no fixed order.
constexpr int32_t Rgb(int32_t red, int32_t green, int32_t blue) {
  return red + 256 * green + 65536 * blue;
}
constexpr int32_t kLightGrey = Rgb(224, 224, 224);
constexpr int32_t kBlue = Rgb(0, 0, 255);
constexpr int32_t kWindowText = rt::SystemColor(rt::kWindowText);
constexpr int32_t kWindowBackground = rt::SystemColor(rt::kWindowBackground);

rt::ControlDesign Place(float left, float top, float width, float height, int tab_index,
                        const char* caption = "") {
  rt::ControlDesign design;
  design.left = left;
  design.top = top;
  design.width = width;
  design.height = height;
  design.tab_index = tab_index;
  design.caption = caption;
  return design;
}

rt::ControlDesign Colored(rt::ControlDesign design, int32_t back, int32_t fore) {
  design.back_color = back;
  design.fore_color = fore;
  return design;
}

rt::ControlDesign OnLightGrey(rt::ControlDesign design) {
  return Colored(design, kLightGrey, kWindowText);
}

// Elements 5, 4 and 3 stand left to right.
int Column(int index) { return 5 - index; }

}  // namespace

rt::FormDesign Form() {
  rt::FormDesign design;
  design.caption = "設定:.:::::..::::.:.:.:.:.:.:.:.:.:......::::::.:.:.:.:...:::::::";
  design.border_style = rt::BorderStyle::kFixedDialog;
  design.back_color = kWindowBackground;
  design.client_width = 5415;
  design.client_height = 3030;
  design.centered = true;
  design.icon = "kelvora.ico";
  design.picture = "background.bmp";
  design.accessible_name = "設定";  // the caption's word, without its row of dots
  return design;
}

rt::ControlDesign Frame1() { return (OnLightGrey(Place(240, 120, 5055, 1815, 0, "画面設定"))); }
rt::ControlDesign Frame2() { return (OnLightGrey(Place(180, 240, 2295, 1035, 8, "文字色"))); }
rt::ControlDesign Frame3() { return (OnLightGrey(Place(2580, 240, 2295, 1035, 15, "スピード"))); }

rt::ControlDesign Option1(int index) {
  const float lefts[] = {450, 1020, 1560};
  rt::ControlDesign design = OnLightGrey(Place(lefts[Column(index)], 300, 330, 285, 6 + index));
  design.value = index == 5;
  return design;
}

rt::ControlDesign Label6(int index) {
  const float lefts[] = {420, 960, 1500};
  const float heights[] = {225, 225, 210};
  const int32_t swatches[] = {Rgb(0, 255, 0), Rgb(255, 0, 0), Rgb(0, 0, 255)};
  // A swatch shows its colour only as a fill; these words say it.
  const char* names[] = {"緑", "赤", "青"};
  rt::ControlDesign design =
      Colored(Place(lefts[Column(index)], 600, 330, heights[Column(index)], 9 + index),
              swatches[Column(index)], kWindowText);
  design.accessible_name = names[Column(index)];
  return design;
}

rt::ControlDesign Option2(int index) {
  const float lefts[] = {420, 960, 1500};
  rt::ControlDesign design =
      OnLightGrey(Place(lefts[Column(index)], 360, 255, 195, 13 + index, "Option2"));
  design.value = index == 5;
  return design;
}

rt::ControlDesign Label7(int index) {
  const float lefts[] = {360, 960, 1500};
  const float heights[] = {255, 255, 315};
  const char* names[] = {"最速", "早い", "普通"};
  return (Colored(Place(lefts[Column(index)], 660, 435, heights[Column(index)], 16 + index,
                        names[Column(index)]),
                  kWindowBackground, kWindowText));
}

rt::ControlDesign Command1() {
  rt::ControlDesign design = Place(3780, 1380, 1110, 285, 5, "ﾃﾞﾌｫﾙﾄ");
  design.picture = "button.jpg";
  return design;
}

rt::ControlDesign Command2() { return Place(3360, 2640, 870, 300, 6, "OK"); }
rt::ControlDesign Command3() { return Place(4260, 2640, 1110, 300, 7, "キャンセル"); }

rt::ControlDesign Label5() { return (Place(120, 2040, 855, 255, 2, "最新情報")); }

rt::ControlDesign Label3() {
  rt::ControlDesign design = (Place(1020, 2040, 375, 255, 3, "URL"));
  design.fore_color = kBlue;
  return design;
}

rt::ControlDesign Label2() {
  rt::ControlDesign design = (Place(1500, 2040, 3015, 255, 4, "http://kelvora.example/"));
  design.fore_color = kBlue;
  design.mouse_icon = "hand.cur";
  return design;
}

rt::ControlDesign Label4() {
  return (Place(120, 2340, 3615, 255, 1, "Copyright (C) 2026 kelvora developers"));
}

rt::ControlDesign Line1() {
  rt::ControlDesign design = Place(1020, 2220, 4320 - 1020, 0, -1);
  design.fore_color = kBlue;
  return design;
}

}  // namespace config_design
