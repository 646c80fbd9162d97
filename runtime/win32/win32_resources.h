// Resource identifiers of the Windows build (kelvora.rc).
#pragma once

#define IDR_CARRIED_FONT 100
#define IDR_BUTTON_FACE 101
#define IDB_BACKGROUND 102
#define IDI_KELVORA 103
#define IDC_KELVORA_HAND 104
