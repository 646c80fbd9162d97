// frmConfig: the settings dialog. It offers the rain colour (green, red or
// blue) and the speed (three timer intervals); OK stores the choice in
// GColor, GSpeed and the settings file.
#pragma once

#include "runtime/forms/control_array.h"
#include "runtime/forms/form.h"
#include "runtime/forms/windowed_controls.h"

class FrmConfig : public rt::Form {
 public:
  FrmConfig();

  // In the order of creation: containers before what they hold.
  rt::Frame Frame1;
  rt::Frame Frame2;
  rt::ControlArray<rt::OptionButton> Option1;  // 5 green, 4 red, 3 blue
  rt::ControlArray<rt::Label> Label6;          // the colour swatches
  rt::Frame Frame3;
  rt::ControlArray<rt::OptionButton> Option2;  // 5 fastest, 4 fast, 3 normal
  rt::ControlArray<rt::Label> Label7;          // the speed names
  rt::CommandButton Command1;                  // "ﾃﾞﾌｫﾙﾄ"
  rt::Label Label5;
  rt::Label Label3;
  rt::Label Label2;
  rt::ControlArray<rt::Line> Line1;
  rt::Label Label4;
  rt::CommandButton Command2;  // "OK"
  rt::CommandButton Command3;  // "キャンセル"

  void Command1_Click();
  void Command2_Click();
  void Command3_Click();

 protected:
  void Form_Load() override;
};

extern FrmConfig frmConfig;
