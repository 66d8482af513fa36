// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/core/ChartTypes.h>

#include <cstdint>
#include <functional>

namespace Korvatel {

enum TPenStyle : std::uint8_t {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame
};

// Raster operation of a pen; pmNotXor draws the rubber band that vanishes when drawn twice.
enum TPenMode : std::uint8_t {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

// A pen of the chart: the platform pen's colour, width, style and mode plus Visible (a
// hidden pen draws nothing) and SmallDots (every other pixel). Every change is reported to
// the owner, which asks the chart for a repaint.
class KORVATEL_EXPORT TChartPen {
public:
    using TChangeEvent = std::function<void()>;

    TChartPen() = default;
    explicit TChartPen(TChangeEvent onChange) : FOnChange(std::move(onChange)) {}
    TChartPen(const TChartPen&) = delete;
    TChartPen& operator=(const TChartPen&) = delete;
    virtual ~TChartPen() = default;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // Width in pixels, 0 to LargestWidth; 0 and 1 draw one-pixel lines. A wider pen would
    // cover the whole picture with one stroke and cost as much.
    static constexpr std::int32_t LargestWidth = 100;
    std::int32_t Width() const { return FWidth; }
    void SetWidth(std::int32_t value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool SmallDots() const { return FSmallDots; }
    void SetSmallDots(bool value);

    // Copies colour, width, style, mode, Visible and SmallDots; reports one change.
    void Assign(const TChartPen& source);
    void SetOnChange(TChangeEvent onChange) { FOnChange = std::move(onChange); }

protected:
    // Sets a default without reporting it (used by the constructors of the pen kinds).
    void InitDefaults(TColor color, std::int32_t width, TPenStyle style, bool visible);

private:
    void Changed() const;

    TChangeEvent FOnChange;
    TColor FColor = clBlack;
    std::int32_t FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    bool FVisible = true;
    bool FSmallDots = false;
};

// Hidden by default.
class KORVATEL_EXPORT TChartHiddenPen : public TChartPen {
public:
    explicit TChartHiddenPen(TChangeEvent onChange = {});
};

// Gray and dotted: grid lines.
class KORVATEL_EXPORT TDottedGrayPen : public TChartPen {
public:
    explicit TDottedGrayPen(TChangeEvent onChange = {});
};

// Gray: ticks.
class KORVATEL_EXPORT TDarkGrayPen : public TChartPen {
public:
    explicit TDarkGrayPen(TChangeEvent onChange = {});
};

// Two pixels wide: axis lines.
class KORVATEL_EXPORT TChartAxisPen : public TChartPen {
public:
    explicit TChartAxisPen(TChangeEvent onChange = {});
};

// White: mark arrows.
class KORVATEL_EXPORT TChartArrowPen : public TChartPen {
public:
    explicit TChartArrowPen(TChangeEvent onChange = {});
};

} // namespace Korvatel
