// The columns: BuildColumns lays out a row across the window, ResetColumn
// (re)generates one column. Both run in the skip mode: a failing statement
// is abandoned and the next one runs.
#include <cstdint>

#include "rain/frm_main.h"
#include "runtime/forms/program.h"
#include "runtime/language/checked_int.h"
#include "runtime/language/conversions.h"
#include "runtime/language/random.h"
#include "runtime/language/skip_mode.h"

using rt::Narrow16;
using rt::Skip;

void FrmMain::BuildColumns() {
  if (rt::SkipTest([&] { return Code.UBound() > 0; })) {
    for (int32_t k = Code.UBound(); k >= 1; --k) {
      rt::DoEvents();
      Skip([&] { Code.Unload(Narrow16(k)); });
    }
  }

  int32_t n = 0;
  Skip(
      [&] { n = rt::Add32(rt::Div32(rt::CLngRound(Width()), rt::CLngRound(Code(0).Width())), 1); });

  for (int32_t i = 1; i <= n; ++i) {
    rt::DoEvents();
    Skip([&] { Code.Load(Narrow16(i)); });
    Skip([&] {
      rt::PictureBox& column = Code(Narrow16(i));
      column.SetLeft(static_cast<float>(static_cast<double>(column.Width()) * (i - 1)));
    });
    Skip([&] { Code(Narrow16(i)).SetVisible(true); });
    ResetColumn(i);
  }
}

void FrmMain::ResetColumn(int32_t& i) {
  rt::Randomize();
  const int16_t start_red = 0;
  const int16_t start_green = 0;
  const int16_t start_blue = 0;
  int16_t end_red = 0;
  int16_t end_green = 0;
  int16_t end_blue = 0;
  Skip([&] { end_red = Narrow16(GRed); });
  Skip([&] { end_green = Narrow16(GGreen); });
  Skip([&] { end_blue = Narrow16(GBlue); });

  Skip([&] { Code(Narrow16(i)).Cls(); });
  int16_t length = 0;
  Skip([&] { length = rt::CIntRound(rt::Rnd() * 250.0f + 3.0f); });
  Skip([&] {
    Code(Narrow16(i)).SetHeight(15.0f * rt::Screen::TwipsPerPixelY() * static_cast<float>(length));
  });

  // The divisor is L - 1 while L + 1 lines are printed: the last line steps
  // past the end colour (clamped at 255).
  const auto step = [&](int16_t end, int16_t start) {
    int16_t result = 0;
    Skip([&] { result = rt::Div16(rt::Abs16(rt::Sub16(end, start)), rt::Sub16(length, 1)); });
    return result;
  };
  const int16_t step_red = step(end_red, start_red);
  const int16_t step_green = step(end_green, start_green);
  const int16_t step_blue = step(end_blue, start_blue);

  for (int16_t j = 0; j <= length; ++j) {
    rt::DoEvents();
    Skip([&] {
      Code(Narrow16(i))
          .SetForeColor(rt::RGB(rt::Add16(start_red, rt::Mul16(j, step_red)),
                                rt::Add16(start_green, rt::Mul16(j, step_green)),
                                rt::Add16(start_blue, rt::Mul16(j, step_blue))));
    });
    Skip([&] {
      const int32_t code = rt::CLngRound(rt::Rnd() * 94.0f + 161.0f);
      Code(Narrow16(i)).Print(rt::Chr(code));
    });
  }

  Skip([&] {
    const int32_t speed = static_cast<int32_t>(rt::Int(rt::Rnd() * 100.0f)) + 1;
    Code(Narrow16(i)).SetTag(rt::Chr(speed));
  });
  Skip([&] {
    rt::PictureBox& column = Code(Narrow16(i));
    column.SetTop(-column.Height());
  });
}
