// frmConfig: the settings dialog that picks the rain colour and speed.
#pragma once

#include "runtime/form.h"

class FrmConfig : public rt::Form {
 public:
  FrmConfig();
};

extern FrmConfig frmConfig;
