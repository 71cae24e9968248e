#include "render/fast_fill.hpp"

#include "gfx/device_context.hpp"
#include "gfx/gfx_state.hpp"
#include "render/fog.hpp"
#include "render/scene_fill.hpp"
#include "render/truncate.hpp"
#include "world/texture.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// An edge with the rows it takes part in: it joins the active edges at
// firstRow and leaves them after lastRow.
struct TimedEdge {
    ScreenEdge edge;
    i32 firstRow = 0;
    i32 lastRow = 0;
};

// Where the pixels of a 24-bit RGB frame go, and which of them drawPixel would
// write (inside the clip rectangle, or the surface when clipping is off).
struct DirectFrame {
    u8* surface = nullptr;
    i32 bytesPerLine = 0;
    i32 originX = 0, originY = 0; // viewport corner on the surface
    i32 columnFrom = 0, columnTo = 0; // writable viewport columns, end exclusive
    i32 rowFrom = 0, rowTo = 0;
};

bool directFrameOf(const DeviceContext* dc, DirectFrame& frame) {
    if (dc == nullptr || dc->bitsPerPixel != 24 || dc->maxColor <= 255 ||
        !(dc->pixelFormat == pixelFormatRGB24)) {
        return false;
    }
    frame.surface = dc->surface;
    frame.bytesPerLine = dc->bytesPerLine;
    frame.originX = dc->viewport.left;
    frame.originY = dc->viewport.top;
    if (dc->clipping) {
        frame.columnFrom = dc->clipRect.left;
        frame.columnTo = dc->clipRect.right;
        frame.rowFrom = dc->clipRect.top;
        frame.rowTo = dc->clipRect.bottom;
    } else {
        frame.columnFrom = dc->deviceRect.left - dc->viewport.left;
        frame.columnTo = dc->deviceRect.right - dc->viewport.left;
        frame.rowFrom = dc->deviceRect.top - dc->viewport.top;
        frame.rowTo = dc->deviceRect.bottom - dc->viewport.top;
    }
    return true;
}

// texelAt, with the wrap of a power-of-two size done by a mask.
struct TexelLookup {
    const Texture* texture = nullptr;
    bool widthPow2 = false, heightPow2 = false;

    explicit TexelLookup(const Texture* t) : texture(t) {
        if (t != nullptr) {
            widthPow2 = (t->width & (t->width - 1)) == 0;
            heightPow2 = (t->height & (t->height - 1)) == 0;
        }
    }

    static u32 wrap(u32 index, u32 size, bool pow2) { return pow2 ? index & (size - 1) : index % size; }

    u16 operator()(u32 u, u32 v) const {
        return texture->texel(wrap((u & 0xFFFF) >> 7, texture->width, widthPow2),
                              wrap((v & 0xFFFF) >> 7, texture->height, heightPow2));
    }
};

// Writes one span's pixels into its row (null: the row is clipped away) and
// keeps the colour of the last pixel computed, which the reference would leave
// set. False when the span has no pixel.
template <bool Textured>
bool writeSpan(SpanPixels p, const TexelLookup& texels, u8* row, const DirectFrame& frame,
               u32& colour) {
    const i32 lastColumn = truncToInt(std::floor(p.lastX));
    if (p.firstColumn > lastColumn) {
        return false;
    }
    for (i32 px = p.firstColumn; px <= lastColumn; ++px) {
        u32 red, green, blue;
        if constexpr (Textured) {
            const u16 texel = texels(static_cast<u32>(truncToInt(p.u)), static_cast<u32>(truncToInt(p.v)));
            const f32 brightness = static_cast<f32>(texel) / 256.0f;
            red = fogChannel(static_cast<u16>(truncToInt(brightness * p.channel[2])), p.depth);
            green = fogChannel(static_cast<u16>(truncToInt(brightness * p.channel[1])), p.depth);
            blue = fogChannel(static_cast<u16>(truncToInt(brightness * p.channel[0])), p.depth);
            p.u += p.uStep;
            p.v += p.vStep;
        } else {
            red = fogChannel(static_cast<u16>(truncToInt(p.channel[2])), p.depth);
            green = fogChannel(static_cast<u16>(truncToInt(p.channel[1])), p.depth);
            blue = fogChannel(static_cast<u16>(truncToInt(p.channel[0])), p.depth);
        }
        p.channel[0] += p.channelStep[0];
        p.channel[1] += p.channelStep[1];
        p.channel[2] += p.channelStep[2];
        p.depth += p.depthStep;
        if (row != nullptr && px >= frame.columnFrom && px < frame.columnTo) {
            u8* pixel = row + 3 * px;
            pixel[0] = static_cast<u8>(blue);
            pixel[1] = static_cast<u8>(green);
            pixel[2] = static_cast<u8>(red);
        }
        colour = (red & 0xFF) << 16 | (green & 0xFF) << 8 | (blue & 0xFF);
    }
    return true;
}

} // namespace

void fillPolygonFast(ScenePolygon& polygon, i32 maxX, i32 maxY) {
    if (polygon.edges.empty()) {
        return;
    }
    closeOutline(polygon.edges);

    // An edge joins the active list at the first row that reaches one of its
    // ends (row 0 for edges above the frame); edges join in outline order within
    // a row, so a stable sort by that row gives the reference's active order.
    // Edges no row reaches stay with the polygon, as in the reference.
    const i32 lastFilledRow = maxY - 2;
    std::vector<TimedEdge> timed;
    std::vector<ScreenEdge> unreached;
    for (const ScreenEdge& edge : polygon.edges) {
        if (!finiteEdge(edge)) {
            unreached.push_back(edge);
            continue;
        }
        const i32 row1 = truncToInt(edge.sy1);
        const i32 row2 = truncToInt(edge.sy2);
        const i32 firstRow = std::max(0, std::min(row1, row2));
        if (firstRow > lastFilledRow) {
            unreached.push_back(edge);
            continue;
        }
        timed.push_back({edge, firstRow, std::max(row1, row2)});
    }
    polygon.edges = std::move(unreached);
    std::stable_sort(timed.begin(), timed.end(),
                     [](const TimedEdge& a, const TimedEdge& b) { return a.firstRow < b.firstRow; });

    DirectFrame frame;
    const bool direct = directFrameOf(currentContext, frame);
    const TexelLookup texels(polygon.texture);
    bool coloured = false;
    u32 colour = 0;

    std::vector<ScreenEdge> active;
    std::vector<i32> activeLastRow;
    size_t next = 0;
    for (i32 y = timed.empty() ? lastFilledRow + 1 : timed.front().firstRow; y <= lastFilledRow; ++y) {
        for (; next < timed.size() && timed[next].firstRow <= y; ++next) {
            active.push_back(timed[next].edge);
            activeLastRow.push_back(timed[next].lastRow);
        }
        size_t kept = 0;
        for (size_t i = 0; i < active.size(); ++i) {
            if (activeLastRow[i] >= y) {
                active[kept] = active[i];
                activeLastRow[kept++] = activeLastRow[i];
            }
        }
        active.resize(kept);
        activeLastRow.resize(kept);
        if (active.empty()) {
            if (next == timed.size()) {
                break;
            }
            y = timed[next].firstRow - 1; // nothing to draw until the next edge joins
            continue;
        }

        const Span span = spanAtRow(active, y);
        if (!direct) {
            drawSpan(polygon, span, y, maxX);
            continue;
        }
        SpanPixels pixels;
        if (!setUpSpan(polygon, span, maxX, pixels)) {
            continue;
        }
        u8* row = nullptr;
        if (y >= frame.rowFrom && y < frame.rowTo) {
            row = frame.surface + static_cast<i64>(y + frame.originY) * frame.bytesPerLine +
                  3 * static_cast<i64>(frame.originX);
        }
        coloured |= polygon.texture != nullptr ? writeSpan<true>(pixels, texels, row, frame, colour)
                                               : writeSpan<false>(pixels, texels, row, frame, colour);
    }
    // The reference sets the colour of every pixel it computes; leave the last one set.
    if (coloured) {
        currentContext->color = colour;
    }
}
