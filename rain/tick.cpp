// The tick of Timer1: every column falls by its own speed and is made anew
// once it has passed the bottom; the row is rebuilt when the window has grown
// wider than it. Runs in the skip mode.
#include <cstdint>

#include "rain/frm_main.h"
#include "runtime/forms/program.h"
#include "runtime/language/checked_int.h"
#include "runtime/language/conversions.h"
#include "runtime/language/skip_mode.h"

using rt::Narrow16;
using rt::Skip;

void FrmMain::Timer1_Timer() {
  const int32_t upper = Code.UBound();
  const int32_t lower = Code.LBound();
  for (int32_t i = lower; i <= upper; ++i) {
    rt::DoEvents();
    // The speed is the code of the Tag's character, in screen pixels.
    Skip([&] {
      rt::PictureBox& column = Code(Narrow16(i));
      column.SetTop(static_cast<float>(rt::Asc(column.Tag())) * rt::Screen::TwipsPerPixelY() +
                    column.Top());
    });
    if (rt::SkipTest([&] { return Code(Narrow16(i)).Top() > Height(); })) ResetColumn(i);
  }

  Skip([&] { SetVisible(true); });

  const bool row_too_short = rt::SkipTest([&] {
    const rt::PictureBox& last = Code(Code.UBound());
    return static_cast<float>(static_cast<double>(last.Width()) * 2 + last.Left()) < Width();
  });
  if (row_too_short) {
    Skip([&] { SetVisible(false); });
    BuildColumns();
    Skip([&] { SetVisible(true); });
  }
}
