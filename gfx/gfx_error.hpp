#pragma once
// The graphics layer reports its failures through one last-error code: 0 for
// success, a negative code otherwise. Loaders set it and return null; drawing
// never fails (it clips), except putBitmapTransparent with a bitmap it cannot draw.
#include "base/types.hpp"

enum GfxError : i32 {
    gfxOk = 0,
    gfxDriverNotInstalled = -1,
    gfxHardwareNotDetected = -2,
    gfxDriverNotFound = -3,
    gfxDriverCorrupt = -4,
    gfxNoMemoryForDriver = -5, // also: no memory for a font
    gfxInvalidMode = -6,
    gfxInvalidDriver = -7,
    gfxGeneralError = -8,
    gfxInvalidDriverName = -9,
    gfxNoMemory = -10,
    gfxModeNotSupported = -11,
    gfxInvalidFont = -12,
    gfxFontCorrupt = -13,
    gfxFontNotFound = -14,
    gfxBadDriverVersion = -15,
    gfxInvalidDeviceType = -16,
    gfxInvalidContext = -17,
    gfxInvalidCursor = -18,
    gfxCursorNotFound = -19,
    gfxInvalidIcon = -20,
    gfxIconNotFound = -21,
    gfxInvalidBitmap = -22,
    gfxBitmapNotFound = -23,
    gfxInvalidErrorNumber = -24,
    gfxZbufferTooLarge = -25,
    gfxFontVersion = -26,
    gfxRegionNotEnded = -27,
    gfxNoDoubleBuffer = -28,
    gfxOffscreenNeedsBlt = -29,
    gfxNoOffscreenMemory = -30,
    gfxInvalidMemoryFormat = -31,
};

// The last error code; reading it resets it to 0.
i32 LastError();

// The text of an error code; "NONE" for a code outside the table.
const char* ErrorMessage(i32 code);

// Sets the last error code (the loaders and drawing operations use it).
void setLastError(i32 code);
