// frmConfig's behaviour: Load shows the stored choice, "ﾃﾞﾌｫﾙﾄ" resets it,
// OK stores it, "キャンセル" closes without storing.
#include "config/frm_config.h"

#include <string>
#include <utility>

#include "config/frm_config_design.h"
#include "runtime/forms/program.h"
#include "runtime/language/conversions.h"
#include "startup/module1.h"

FrmConfig frmConfig;

FrmConfig::FrmConfig()
    : rt::Form(config_design::Form()),
      Frame1(*this, config_design::Frame1()),
      Frame2(*this, config_design::Frame2(), &Frame1),
      Option1(*this),
      Label6(*this),
      Frame3(*this, config_design::Frame3(), &Frame1),
      Option2(*this),
      Label7(*this),
      Command1(*this, config_design::Command1(), &Frame1),
      Label5(*this, config_design::Label5()),
      Label3(*this, config_design::Label3()),
      Label2(*this, config_design::Label2()),
      Line1(*this),
      Label4(*this, config_design::Label4()),
      Command2(*this, config_design::Command2()),
      Command3(*this, config_design::Command3()) {
  for (int16_t index = 5; index >= 3; --index) {
    Option1.AddDesignElement(index, config_design::Option1(index), &Frame2);
    Label6.AddDesignElement(index, config_design::Label6(index), &Frame2);
  }
  for (int16_t index = 5; index >= 3; --index) {
    Option2.AddDesignElement(index, config_design::Option2(index), &Frame3);
    Label7.AddDesignElement(index, config_design::Label7(index), &Frame3);
  }
  Line1.AddDesignElement(2, config_design::Line1());
  Command1.OnClick([this] { Command1_Click(); });
  Command2.OnClick([this] { Command2_Click(); });
  Command3.OnClick([this] { Command3_Click(); });
}

void FrmConfig::Form_Load() {
  // Each test converts all three elements, whatever the earlier ones gave,
  // so an element that is no number stops the dialog with error 13.
  const auto holds = [](double red, double green, double blue) {
    const bool red_matches = rt::CDbl(GColor[0]) == red;
    const bool green_matches = rt::CDbl(GColor[1]) == green;
    const bool blue_matches = rt::CDbl(GColor[2]) == blue;
    return red_matches && green_matches && blue_matches;
  };
  if (holds(0, 240, 0)) Option1(5).SetValue(true);
  if (holds(240, 0, 0)) Option1(4).SetValue(true);
  if (holds(0, 0, 240)) Option1(3).SetValue(true);

  // The stored speed is shown too, so that OK does not silently reset it.
  if (GSpeed == "10") Option2(5).SetValue(true);
  if (GSpeed == "100") Option2(4).SetValue(true);
  if (GSpeed == "200") Option2(3).SetValue(true);
}

void FrmConfig::Command1_Click() {
  Option1(5).SetValue(true);
  Option2(5).SetValue(true);
}

void FrmConfig::Command2_Click() {
  if (Option1(5).Value()) GColor = {rt::CStr(0), rt::CStr(240), rt::CStr(0)};
  if (Option1(4).Value()) GColor = {rt::CStr(240), rt::CStr(0), rt::CStr(0)};
  if (Option1(3).Value()) GColor = {rt::CStr(0), rt::CStr(0), rt::CStr(240)};
  if (Option2(5).Value()) GSpeed = "10";
  if (Option2(4).Value()) GSpeed = "100";
  if (Option2(3).Value()) GSpeed = "200";

  const std::pair<const char*, const std::string*> settings[] = {
      {"COLOR1", &GColor[0]}, {"COLOR2", &GColor[1]}, {"COLOR3", &GColor[2]}, {"SP", &GSpeed}};
  for (const auto& [key, value] : settings) {
    // A failed write must not pass for success: the dialog stays open with
    // the choice still shown, and Cancel closes it. The message names the
    // file that refused the write; only the file of an install for all
    // users is the administrator's to change.
    if (!WriteSetting(key, *value)) {
      const rt::WrittenProfile file = rt::WrittenProfileFile(SettingsPath());
      rt::MsgBox("設定を保存できませんでした。\n" + file.path + "\nこのファイルに書き込めません。" +
                 (file.for_all_users ? "全ユーザー用にインストールされた kelvora "
                                       "の設定は、管理者だけが変えられます。"
                                     : ""));
      return;
    }
  }
  Unload();
}

void FrmConfig::Command3_Click() { Unload(); }
