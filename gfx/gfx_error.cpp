#include "gfx/gfx_error.hpp"

#include "gfx/gfx_state.hpp"

#include <array>

namespace {

// Texts of codes 0, -1, ..., -31, in that order.
constexpr std::array<const char*, 32> errorTexts{
    "No error",
    "Graphics driver has not been installed",
    "Graphics hardware not detected",
    "Couldn't find graphics driver",
    "Graphics driver file corrupted",
    "Not enough memory to load graphics driver",
    "Invalid mode for selected driver",
    "Invalid driver number",
    "General graphics error",
    "Invalid graphics driver name",
    "Not enough memory to perform operation",
    "Selected graphics mode not supported",
    "Invalid font data",
    "Font file corrupted",
    "Couldn't find font file",
    "Incorrect version for driver file",
    "Invalid device type for operation",
    "Invalid device context",
    "Invalid cursor file",
    "Cursor file was not found",
    "Invalid icon file",
    "Icon file was not found",
    "Invalid bitmap file",
    "Bitmap file was not found",
    "Invalid error number",
    "Zbuffer allocation is too large",
    "Only Windows 2.x font files supported",
    "RGL_endRegion() was not called",
    "Double buffering is not available",
    "OffscreenDC's require hardware bitBlt support",
    "No available Offscreen display memory",
    "Invalid pixel format for memory DC",
};

} // namespace

i32 LastError() {
    const i32 code = gfx::state.lastErrorCode;
    gfx::state.lastErrorCode = gfxOk;
    return code;
}

const char* ErrorMessage(i32 code) {
    if (code > 0 || code < -static_cast<i32>(errorTexts.size() - 1)) return "NONE";
    return errorTexts[static_cast<size_t>(-code)];
}

void setLastError(i32 code) {
    gfx::state.lastErrorCode = code;
}
