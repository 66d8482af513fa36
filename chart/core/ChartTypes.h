// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <cstdint>

namespace Korvatel {

// Colour values are 32-bit: 0x00BBGGRR is a plain colour (red in the low byte),
// 0x800000nn is system colour nn, resolved against the platform palette before drawing.
using TColor = std::int32_t;

constexpr TColor MakeSystemColor(std::uint32_t index) {
    return static_cast<TColor>(0x80000000u | index);
}

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

// A null point, or "no colour".
constexpr TColor clNone = 0x1FFFFFFF;
// No colour of its own: the owner decides (series colour, palette colour, ...).
constexpr TColor clDefault = 0x20000000;

constexpr TColor clWindow = MakeSystemColor(5);
constexpr TColor clWindowText = MakeSystemColor(8);
constexpr TColor clBtnFace = MakeSystemColor(15);
constexpr TColor clBtnShadow = MakeSystemColor(16);
constexpr TColor clBtnHighlight = MakeSystemColor(20);

constexpr bool IsSystemColor(TColor color) {
    return (static_cast<std::uint32_t>(color) & 0xFF000000u) == 0x80000000u;
}

struct KORVATEL_EXPORT TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;

    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and bottom are exclusive, as everywhere in the chart.
struct KORVATEL_EXPORT TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    constexpr std::int32_t Width() const { return Right - Left; }
    constexpr std::int32_t Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(std::int32_t x, std::int32_t y) const {
        return x >= Left && x < Right && y >= Top && y < Bottom;
    }

    friend bool operator==(const TRect&, const TRect&) = default;
};

// The intersection of two rectangles; empty (IsEmpty) when they do not overlap.
constexpr TRect IntersectRect(const TRect& a, const TRect& b) {
    TRect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
            a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    return r;
}

// The smallest rectangle that holds both; an empty one adds nothing.
constexpr TRect UnionRect(const TRect& a, const TRect& b) {
    if (a.IsEmpty()) {
        return b;
    }
    if (b.IsEmpty()) {
        return a;
    }
    return {a.Left < b.Left ? a.Left : b.Left, a.Top < b.Top ? a.Top : b.Top,
            a.Right > b.Right ? a.Right : b.Right, a.Bottom > b.Bottom ? a.Bottom : b.Bottom};
}

// Mouse cursor id of a chart or series, 16 bits as the window toolkit numbers its cursors:
// 0 is the default cursor (none of its own), the toolkit's shapes count down from -1.
using TCursor = std::int16_t;

constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

} // namespace Korvatel
