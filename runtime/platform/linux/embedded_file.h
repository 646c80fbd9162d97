// A file's bytes inside the program, in a read-only section of their own,
// between the symbols NAME_start and NAME_end (hidden from other modules).
#pragma once

// clang-format off
#define KELVORA_EMBED_FILE(name, file)                                 \
  asm(".pushsection .rodata." #name ", \"a\"\n"                      \
      "  .balign 64\n"                                               \
      "  .globl " #name "_start\n"                                   \
      "  .hidden " #name "_start\n"                                  \
      #name "_start:\n"                                              \
      "  .incbin \"" file "\"\n"                                     \
      "  .globl " #name "_end\n"                                     \
      "  .hidden " #name "_end\n"                                    \
      #name "_end:\n"                                                \
      "  .popsection\n");                                            \
  extern "C" const char name##_start[];                              \
  extern "C" const char name##_end[]
// clang-format on
