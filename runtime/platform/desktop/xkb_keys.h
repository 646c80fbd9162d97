// What a key is for the forms layer, from the symbol XKB gives it: the keys
// the rules name, else whether it gives a character.
#pragma once

#include <xkbcommon/xkbcommon.h>

#include "runtime/platform/native.h"

namespace rt::desktop {

native::Key KeyOf(xkb_keysym_t symbol, bool gives_character);

}  // namespace rt::desktop
