// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/ChartTypes.h>

#include <cstdint>

namespace Korvatel {

// Which way a face of a 3D solid looks. The shading is a fixed step, not lighting: a face
// that looks at the viewer keeps its colour, a top or bottom face is drawn 15 % towards black
// and a side face (a box's side, a cylinder's or a pie's rim, a cone's mantle) 25 % towards
// black, so that a shape reads as solid at any angle and two shapes of one colour shade alike.
enum TSolidFace : std::uint8_t { sfFront, sfTop, sfSide };

constexpr int TopShadePercent = 15;
constexpr int SideShadePercent = 25;

// The colour of a face of a solid whose colour is `color`, a plain colour (0x00BBGGRR; system
// colours are resolved before). Each channel is scaled by (100 - step) / 100, rounded down.
constexpr TColor ShadedColor(TColor color, TSolidFace face) {
    const int step = face == sfTop ? TopShadePercent : face == sfSide ? SideShadePercent : 0;
    const auto channel = [&](int shift) {
        const int value = (color >> shift) & 0xFF;
        return (value * (100 - step) / 100) << shift;
    };
    return static_cast<TColor>(channel(0) | channel(8) | channel(16));
}

} // namespace Korvatel
