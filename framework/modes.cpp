#include "framework/modes.hpp"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>

GraphicsMode graphicsMode(u32 number) {
    assert(number < graphicsModeCount);
    const ModeSize size = standardModeSizes[number / standardModeDepths.size()];
    return {size.width, size.height, standardModeDepths[number % standardModeDepths.size()]};
}

i32 graphicsModeNumber(u32 width, u32 height, u32 bitsPerPixel) {
    for (u32 n = 0; n < graphicsModeCount; ++n) {
        const GraphicsMode m = graphicsMode(n);
        if (m.width == width && m.height == height && m.bitsPerPixel == bitsPerPixel)
            return static_cast<i32>(n);
    }
    return -1;
}

void graphicsModeName(u32 number, char (&name)[16]) {
    const GraphicsMode m = graphicsMode(number);
    std::snprintf(name, sizeof name, "%ux%ux%u", m.width, m.height, m.bitsPerPixel);
}

std::vector<Driver> registerDrivers(const DriverOptions& options) {
    std::vector<Driver> drivers;
    const auto add = [&drivers](DriverFamily family, std::initializer_list<u32> depths) {
        for (u32 bits : depths) drivers.push_back({family, bits});
    };
    if (options.useDirectHW) {
        if (options.useVGA) {
            add(DriverFamily::Vga, {4, 8});
            if (options.useVGAX) add(DriverFamily::VgaX, {8});
        }
        if (options.useVBE && options.useLinear) {
            add(DriverFamily::Linear, {8, 16, 24, 32});
            if (options.useVBEAF) add(DriverFamily::Accelerated, {8, 16, 24, 32});
        }
    }
    if (options.useFullScreenDIB) add(DriverFamily::FullScreenDib, {8, 16, 24, 32});
    if (options.useDirectDraw) add(DriverFamily::DirectDraw, {8, 16, 24, 32});
    if (options.useOpenGL) add(DriverFamily::OpenGL, {16, 24, 32});
    add(DriverFamily::PackedPixel, {1, 4, 8, 16, 24, 32});
    return drivers;
}

std::vector<OfferedMode> offerModesUpTo(u32 width, u32 height, u32 pages, u32 flags) {
    std::vector<OfferedMode> modes;
    for (u32 n = 0; n < graphicsModeCount; ++n) {
        const GraphicsMode m = graphicsMode(n);
        if (m.width <= width && m.height <= height) modes.push_back({n, pages, flags});
    }
    return modes;
}

const OfferedMode* findOfferedMode(const DisplayHardware& hardware, const std::vector<Driver>& drivers,
                                   u32 mode) {
    if (mode >= graphicsModeCount) return nullptr;
    const u32 bits = graphicsMode(mode).bitsPerPixel;
    // 15-bit modes are drawn by the 16-bit drivers.
    const u32 driverBits = bits == 15 ? 16 : bits;
    const bool drawable = std::any_of(drivers.begin(), drivers.end(), [&](const Driver& d) {
        return d.bitsPerPixel == driverBits && (hardware.families & familyBit(d.family));
    });
    if (!drawable) return nullptr;
    const auto it = std::find_if(hardware.modes.begin(), hardware.modes.end(),
                                 [mode](const OfferedMode& m) { return m.mode == mode; });
    return it == hardware.modes.end() ? nullptr : &*it;
}

u32 windowScaleFor(u32 width, u32 height) {
    const bool small =
        (width < 512 && height < 384) || (width == 320 && height == 400) || (width == 320 && height == 480);
    return small ? 2 : 0;
}

bool depthAllowed(u32 modeFilter, u32 bitsPerPixel) {
    switch (bitsPerPixel) {
    case 8: return modeFilter & modeFilter8;
    case 15:
    case 16: return modeFilter & modeFilter16;
    case 24: return modeFilter & modeFilter24;
    case 32: return modeFilter & modeFilter32;
    default: return false;
    }
}

u32 lowerDepthForFilter(u32 modeFilter, u32 bitsPerPixel) {
    // A filter that names no depth lists every depth (the listing's last resort),
    // so it forbids none here either.
    if ((modeFilter & modeFilterAllDepths) == 0) return bitsPerPixel;
    u32 bits = bitsPerPixel;
    while (bits > 8 && !depthAllowed(modeFilter, bits)) bits = bits == 32 ? 24 : bits == 24 ? 15 : 8;
    return bits;
}

namespace {

ModeEntry makeEntry(i32 mode, u32 width, u32 height, u32 bitsPerPixel, u32 pages, u32 flags, u32 scaling) {
    ModeEntry e{};
    e.mode = mode;
    e.width = width;
    e.height = height;
    e.bitsPerPixel = bitsPerPixel;
    e.pages = pages;
    e.flags = flags;
    if (mode >= 0)
        graphicsModeName(static_cast<u32>(mode), e.name);
    else
        std::strcpy(e.name, "windowed");
    e.scaling = scaling;
    e.windowScale = windowScaleFor(width, height);
    return e;
}

// A mode that can show a smaller size doubled: offered, of at most 800x600 and not
// itself a stretched desktop surface.
const OfferedMode* doublingMode(const DisplayHardware& hardware, const std::vector<Driver>& drivers,
                                u32 width, u32 height, u32 bitsPerPixel) {
    if (width > 800 || height > 600) return nullptr;
    const i32 number = graphicsModeNumber(width, height, bitsPerPixel);
    if (number < 0) return nullptr;
    const OfferedMode* m = findOfferedMode(hardware, drivers, static_cast<u32>(number));
    return m && !(m->flags & modeCapDesktop) ? m : nullptr;
}

bool listed(const std::vector<ModeEntry>& entries, u32 width, u32 height) {
    return std::any_of(entries.begin(), entries.end(),
                       [&](const ModeEntry& e) { return e.width == width && e.height == height; });
}

ModeList listWithFilter(u32 filter, const DisplayHardware& hardware, const std::vector<Driver>& drivers) {
    ModeList list;
    std::vector<ModeSize> windowOnly; // sizes that found no full-screen mode
    for (u32 n = 0; n < graphicsModeCount; ++n) {
        const GraphicsMode m = graphicsMode(n);
        if (m.bitsPerPixel < 8 || !depthAllowed(filter, m.bitsPerPixel)) continue;
        const OfferedMode* offered = findOfferedMode(hardware, drivers, n);
        const u32 flags = offered ? offered->flags : 0;
        if ((filter & modeFilterAccelerated) && !(flags & modeCapAccelerated)) continue;
        if ((filter & modeFilterDesktopOnly) && !(flags & modeCapDesktop)) {
            windowOnly.push_back({m.width, m.height});
            continue;
        }
        if (offered) {
            list.entries.push_back(
                makeEntry(static_cast<i32>(n), m.width, m.height, m.bitsPerPixel, offered->pages, flags, 0));
        } else if (const OfferedMode* tall =
                       doublingMode(hardware, drivers, m.width, 2 * m.height, m.bitsPerPixel)) {
            list.entries.push_back(makeEntry(static_cast<i32>(tall->mode), m.width, m.height, m.bitsPerPixel,
                                             tall->pages, tall->flags, 1));
        } else if (const OfferedMode* big =
                       doublingMode(hardware, drivers, 2 * m.width, 2 * m.height, m.bitsPerPixel)) {
            list.entries.push_back(makeEntry(static_cast<i32>(big->mode), m.width, m.height, m.bitsPerPixel,
                                             big->pages, big->flags, 2));
        } else {
            windowOnly.push_back({m.width, m.height});
        }
    }
    list.fullScreenCount = static_cast<u32>(list.entries.size());

    if (filter & modeFilterWindowed) {
        for (const ModeSize& s : windowOnly) {
            if (s.width >= hardware.desktopWidth || s.height >= hardware.desktopHeight) continue;
            if (listed(list.entries, s.width, s.height)) continue;
            list.entries.push_back(makeEntry(-1, s.width, s.height, hardware.desktopBitsPerPixel, 1, 0, 0));
        }
    }
    return list;
}

} // namespace

ModeList listModes(const DriverOptions& options, const DisplayHardware& hardware,
                   const std::vector<Driver>& drivers) {
    ModeList list = listWithFilter(options.modeFilter, hardware, drivers);
    if (list.fullScreenCount == 0)
        list = listWithFilter(options.modeFilter | modeFilterAllDepths, hardware, drivers);
    return list;
}
