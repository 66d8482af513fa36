// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/axes/AxisLabelText.h>
#include <korvatel/axes/AxisSide.h>

#include <cstdint>
#include <string_view>

namespace Korvatel {

// Where the lines of an axis label or title are written, as a pure function of the axis side,
// the angle, the text row height and the number of lines.
//
// A text is written around a reference point: across the axis at the label (or title) line,
// along the axis at the tick (or the axis centre). The text alignment puts the text on the
// outer side of that point, centred along the axis: with one line at angle 0 a bottom-axis
// label hangs centred below its tick, a top-axis label stands centred above it, a left-axis
// label is right-aligned against the reference point and vertically centred on the tick, and a
// right-axis label is left-aligned likewise. Multi-line texts stack outward (angle 0, 180) or
// side by side (90, 270). Any other angle writes every line turned about the unchanged point.
struct KORVATEL_EXPORT TLabelTextLayout {
    // The canvas's TextAlignment for the lines (TextAlign flags).
    std::int32_t Alignment = 0;
    // The point before the first line; the step is added before each line is written.
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t StepX = 0;
    std::int32_t StepY = 0;
    // Lines are written turned by the angle (every angle but 0).
    bool Rotated = false;
};

TLabelTextLayout LayOutLabelText(TAxisSide side, std::int32_t x, std::int32_t y, std::int32_t angle,
                                 std::int32_t rowHeight, std::int32_t lineCount);

// The lines a label text is drawn in: one per line separator, plus the part after the last
// separator when it is not empty. An empty text has none.
std::int32_t LabelLineCount(std::string_view text);

// Calls write for each line of a text, in order, with the lines counted by LabelLineCount.
template <typename Write>
void ForEachLabelLine(std::string_view text, Write&& write) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(LabelLineSeparator, start);
        if (end == std::string_view::npos) {
            write(text.substr(start));
            return;
        }
        write(text.substr(start, end - start));
        start = end + 1;
    }
}

} // namespace Korvatel
