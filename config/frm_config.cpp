#include "config/frm_config.h"

namespace {

rt::FormDesign ConfigDesign() {
  rt::FormDesign design;
  design.caption = "設定:.:::::..::::.:.:.:.:.:.:.:.:.:......::::::.:.:.:.:...:::::::";
  design.border_style = rt::BorderStyle::kFixedDialog;
  design.back_color = rt::SystemColor(rt::kWindowBackground);
  design.client_width = 5415;
  design.client_height = 3030;
  design.centered = true;
  design.icon = "kelvora.ico";
  return design;
}

}  // namespace

FrmConfig frmConfig;

FrmConfig::FrmConfig() : rt::Form(ConfigDesign()) {}
