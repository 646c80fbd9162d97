// Resource identifiers of the Windows build (kelvora.rc). Pictures are named
// by their files instead, under the type their extension gives.
#pragma once

#define IDR_CARRIED_FONT 100
