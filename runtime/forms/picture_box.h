// A picture box drawn by its form: a rectangle with a persistent image into
// which Print draws lines of text. Moving the box never redraws its image.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "runtime/forms/control.h"
#include "runtime/forms/design.h"
#include "runtime/platform/native.h"

namespace rt {

class PictureBox : public Control {
 public:
  PictureBox(Form& form, const PictureBoxDesign& design);
  ~PictureBox() override;

  // A hidden copy of another box with its property values as they stand.
  PictureBox(Form& form, const PictureBox& original);

  float Left() const { return left_; }
  float Top() const { return top_; }
  float Width() const { return width_; }
  float Height() const { return height_; }
  bool Visible() const { return visible_; }
  int16_t BorderStyle() const { return border_style_; }
  bool AutoRedraw() const { return auto_redraw_; }
  int32_t BackColor() const { return back_color_; }
  int32_t ForeColor() const { return fore_color_; }
  const std::string& Tag() const { return tag_; }

  void SetLeft(float twips);
  void SetTop(float twips);
  void SetWidth(float twips);
  void SetHeight(float twips);
  void SetVisible(bool visible);
  // Boxes are drawn without a frame whatever the style; 0 and 1 are valid.
  void SetBorderStyle(int16_t style);
  // The image is always kept; the flag is stored for what the program reads.
  void SetAutoRedraw(bool auto_redraw) { auto_redraw_ = auto_redraw; }
  void SetBackColor(int32_t color);
  void SetForeColor(int32_t color) { fore_color_ = color; }
  void SetTag(std::string tag) { tag_ = std::move(tag); }

  // Erases the image and puts the print position at the top-left corner.
  void Cls();
  // Draws the text at the print position, then moves it to the next line.
  void Print(const std::string& text);

  native::PixelRect PixelBounds() const;
  const native::Surface* surface() const { return surface_.get(); }

  void CreateNative() override;
  void DestroyNative() override;

 private:
  void Moved(const native::PixelRect& before);

  float left_;
  float top_;
  float width_;
  float height_;
  FontDesign font_;
  bool visible_ = true;
  int16_t border_style_ = 1;
  bool auto_redraw_ = false;
  int32_t back_color_ = SystemColor(kButtonFace);
  int32_t fore_color_ = SystemColor(kButtonText);
  std::string tag_;
  // The form repaints and hit-tests boxes often: their place in pixels is
  // kept from the first time it is asked (the screen may not be open before).
  mutable std::optional<native::PixelRect> pixel_bounds_;
  int print_y_ = 0;
  std::unique_ptr<native::Surface> surface_;
};

}  // namespace rt
