// Main: one running copy, the four settings, first-run defaults, and the
// command switch that picks the rain, the dialog or nothing.
#include "config/frm_config.h"
#include "rain/frm_main.h"
#include "runtime/forms/program.h"
#include "runtime/language/conversions.h"
#include "startup/module1.h"

void Main() {
  if (rt::App::PrevInstance()) rt::End();

  GColor[0] = ReadSetting("COLOR1").value_or("240");
  GColor[1] = ReadSetting("COLOR2").value_or("0");
  GColor[2] = ReadSetting("COLOR3").value_or("0");
  const std::optional<std::string> speed = ReadSetting("SP");
  GSpeed = speed.value_or("10");

  // Only a missing speed means a first run; its write replaces the colours
  // in the file but not in this run's variables.
  if (!speed) {
    WriteSetting("COLOR1", "240");
    WriteSetting("COLOR2", "0");
    WriteSetting("COLOR3", "0");
    WriteSetting("SP", "10");
  }

  const std::string command_switch = rt::Left(rt::UCase(rt::Command()), 2);
  if (command_switch == "/C") {
    frmConfig.Show();
  } else if (command_switch == "/S") {
    frmMain.Show();
  }
}
