#include "runtime/forms/picture_box.h"

#include "runtime/forms/form.h"
#include "runtime/forms/program.h"
#include "runtime/language/runtime_error.h"

namespace rt {
PictureBox::PictureBox(Form& form, const PictureBoxDesign& design)
    : Control(form),
      left_(design.left),
      top_(design.top),
      width_(design.width),
      height_(design.height),
      font_(design.font) {
  form.AttachBox(*this);
}

PictureBox::PictureBox(Form& form, const PictureBox& original)
    : Control(form),
      left_(original.left_),
      top_(original.top_),
      width_(original.width_),
      height_(original.height_),
      font_(original.font_),
      visible_(false),
      border_style_(original.border_style_),
      auto_redraw_(original.auto_redraw_),
      back_color_(original.back_color_),
      fore_color_(original.fore_color_),
      tag_(original.tag_),
      pixel_bounds_(original.pixel_bounds_) {
  form.AttachBox(*this);
  if (form.IsLoaded()) CreateNative();
}

PictureBox::~PictureBox() {
  // A form that is not loaded has nothing on the screen to repaint.
  if (visible_ && form().IsLoaded()) form().Invalidate(PixelBounds());
  form().DetachBox(*this);
}

native::PixelRect PictureBox::PixelBounds() const {
  if (!pixel_bounds_) {
    pixel_bounds_ = native::PixelRect{Screen::PixelsX(left_), Screen::PixelsY(top_),
                                      Screen::PixelsX(width_), Screen::PixelsY(height_)};
  }
  return *pixel_bounds_;
}

void PictureBox::Moved(const native::PixelRect& before) {
  if (!visible_) return;
  const native::PixelRect after = PixelBounds();
  // One repaint covers both places when they overlap, as a falling column's do.
  if (native::Meets(before, after)) {
    form().Invalidate(native::BoundingBox(before, after));
  } else {
    form().Invalidate(before);
    form().Invalidate(after);
  }
}

void PictureBox::SetLeft(float twips) {
  const native::PixelRect before = PixelBounds();
  left_ = twips;
  pixel_bounds_.reset();
  form().BoxMovedSideways();
  Moved(before);
}

void PictureBox::SetTop(float twips) {
  const native::PixelRect before = PixelBounds();
  top_ = twips;
  pixel_bounds_.reset();
  Moved(before);
}

void PictureBox::SetWidth(float twips) {
  if (twips < 0) Raise(kInvalidPropertyValue);
  const native::PixelRect before = PixelBounds();
  width_ = twips;
  pixel_bounds_.reset();
  form().BoxMovedSideways();
  if (surface_) surface_->Resize(PixelBounds().width, PixelBounds().height, back_color_);
  Moved(before);
}

void PictureBox::SetHeight(float twips) {
  if (twips < 0) Raise(kInvalidPropertyValue);
  const native::PixelRect before = PixelBounds();
  height_ = twips;
  pixel_bounds_.reset();
  if (surface_) surface_->Resize(PixelBounds().width, PixelBounds().height, back_color_);
  Moved(before);
}

void PictureBox::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  form().Invalidate(PixelBounds());
}

void PictureBox::SetBorderStyle(int16_t style) {
  if (style != 0 && style != 1) Raise(kInvalidPropertyValue);
  border_style_ = style;
}

void PictureBox::SetBackColor(int32_t color) {
  back_color_ = color;
  Cls();
}

void PictureBox::Cls() {
  print_y_ = 0;
  if (!surface_) return;
  surface_->Clear(back_color_);
  // A form that is not loaded has nothing on the screen to repaint.
  if (visible_ && form().IsLoaded()) form().Invalidate(PixelBounds());
}

void PictureBox::Print(const std::string& text) {
  if (!surface_) return;
  const int line_top = print_y_;
  print_y_ += surface_->PrintLine(line_top, text, fore_color_);
  if (!visible_) return;
  const native::PixelRect bounds = PixelBounds();
  form().Invalidate({bounds.x, bounds.y + line_top, bounds.width, print_y_ - line_top});
}

void PictureBox::CreateNative() {
  surface_ = form().window()->CreateSurface(font_);
  const native::PixelRect bounds = PixelBounds();
  surface_->Resize(bounds.width, bounds.height, back_color_);
}

void PictureBox::DestroyNative() { surface_.reset(); }

}  // namespace rt
