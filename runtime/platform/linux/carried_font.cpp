#include "runtime/platform/linux/carried_font.h"

#include "runtime/platform/linux/embedded_file.h"

KELVORA_EMBED_FILE(kelvora_carried_font, KELVORA_CARRIED_FONT_FILE);

namespace rt::linux_program {

std::string_view CarriedFont() {
  return {kelvora_carried_font_start,
          static_cast<size_t>(kelvora_carried_font_end - kelvora_carried_font_start)};
}

}  // namespace rt::linux_program
