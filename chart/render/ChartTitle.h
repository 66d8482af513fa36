// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/ChartBrush.h>
#include <korvatel/canvas/ChartFontObject.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/core/ChartTypes.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Korvatel {

// Horizontal placement of the lines of a text block.
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// A text block of the chart: the title above the chart rectangle or the foot below it. The
// chart draws it early in every repaint and takes its room off the chart rectangle
// (TCustomChart::DrawBlock); the block itself only holds the settings and where it was drawn.
class KORVATEL_EXPORT TChartTitle : public TChartFontObject {
public:
    explicit TChartTitle(TCustomChartPanel* chart);

    // Shrink the frame and the background horizontally to the widest line.
    bool AdjustFrame() const { return FAdjustFrame; }
    void SetAdjustFrame(bool value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // The background of the block; used when Color is clDefault, or for its hatch.
    TChartBrush& Brush() { return FBrush; }
    const TChartBrush& Brush() const { return FBrush; }
    void SetBrush(const TChartBrush& value) { FBrush.Assign(value); }
    // The background colour; clDefault leaves the background to Brush.
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // The outline of the block; hidden by default.
    TChartPen& Frame() { return FFrame; }
    const TChartPen& Frame() const { return FFrame; }
    void SetFrame(const TChartPen& value) { FFrame.Assign(value); }
    // One line per string, UTF-8, read from top to bottom.
    const std::vector<std::string>& Text() const { return FText; }
    // Always takes the lines and repaints.
    void SetText(const std::vector<std::string>& value);
    // A hidden block is not drawn and takes no room.
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    // Copies AdjustFrame, Alignment, Brush, Color, Frame, Text, Visible and the font.
    void Assign(const TChartFontObject& source) override;

    // --- Runtime state ---------------------------------------------------------------------

    // The frame rectangle of the block as last drawn (right and bottom exclusive); kept while
    // the block is hidden.
    const TRect& BlockRect() const { return FBlockRect; }
    void SetBlockRect(const TRect& value) { FBlockRect = value; }
    // Whether a mouse position lies on the block: it is shown and the point is in BlockRect.
    bool ContainsPoint(std::int32_t x, std::int32_t y) const;

    // The font the block starts with: the default chart font in blue, regular. A font equal
    // to it need not be stored with a layout.
    TColor DefaultFontColor() const { return FDefaultFontColor; }
    TFontStyles DefaultFontStyle() const { return FDefaultFontStyle; }
    bool FontIsDefault() const;

private:
    bool FAdjustFrame = true;
    TAlignment FAlignment = taCenter;
    TChartBrush FBrush;
    TColor FColor = clDefault;
    TChartHiddenPen FFrame;
    std::vector<std::string> FText;
    bool FVisible = true;
    TRect FBlockRect;
    TColor FDefaultFontColor = clBlue;
    TFontStyles FDefaultFontStyle = 0;
};

} // namespace Korvatel
