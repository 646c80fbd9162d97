// frmMain: the full-screen rain window. Columns of random characters fall
// from the top edge, each in a gradient from black to the rain colour; a
// key, a click or a quick mouse move ends the program.
#pragma once

#include <cstdint>

#include "runtime/forms/control_array.h"
#include "runtime/forms/form.h"
#include "runtime/forms/picture_box.h"
#include "runtime/forms/timer.h"

class FrmMain : public rt::Form {
 public:
  FrmMain();

  // The rain colour, set once by Load from GColor.
  int32_t GRed = 0;
  int32_t GGreen = 0;
  int32_t GBlue = 0;

  // Code(0) is the hidden template; 1..n are the columns.
  rt::ControlArray<rt::PictureBox> Code;
  rt::Timer Timer1;

  // The last stored pointer position in twips; (0, 0) for none yet. Wider
  // than the original 16 bits so that screens past 32767 twips work.
  int32_t LastX = 0;
  int32_t LastY = 0;

  void BuildColumns();
  void ResetColumn(int32_t& i);
  void Timer1_Timer();

 protected:
  void Form_Load() override;
  void Form_Click() override;
  void Form_DblClick() override;
  void Form_KeyPress(int16_t& key_ascii) override;
  void Form_MouseDown(int16_t button, int16_t shift, float x, float y) override;
  void Form_MouseMove(int16_t button, int16_t shift, float x, float y) override;
};

extern FrmMain frmMain;
