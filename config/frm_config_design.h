// The settings dialog's design: the window and every control's place, size,
// caption, colours and tab index, in twips.
#pragma once

#include "runtime/forms/design.h"

namespace config_design {

rt::FormDesign Form();
rt::ControlDesign Frame1();
rt::ControlDesign Frame2();
rt::ControlDesign Frame3();
// Elements 3, 4 and 5 of the arrays.
rt::ControlDesign Option1(int index);
rt::ControlDesign Label6(int index);
rt::ControlDesign Option2(int index);
rt::ControlDesign Label7(int index);
rt::ControlDesign Command1();
rt::ControlDesign Command2();
rt::ControlDesign Command3();
rt::ControlDesign Label2();
rt::ControlDesign Label3();
rt::ControlDesign Label4();
rt::ControlDesign Label5();
rt::ControlDesign Line1();  // element 2

}  // namespace config_design
