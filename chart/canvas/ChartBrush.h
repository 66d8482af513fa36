// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/core/ChartTypes.h>

#include <QImage>
#include <cstdint>
#include <functional>

namespace Korvatel {

// Fill style of a brush: solid, none, or one of the six hatches.
enum TBrushStyle : std::uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

// A brush of the chart: the platform brush's style and colour plus an optional pattern image
// that, when present, fills instead of colour and style. Every change is reported to the owner,
// which asks the chart for a repaint.
class KORVATEL_EXPORT TChartBrush {
public:
    using TChangeEvent = std::function<void()>;

    TChartBrush() = default;
    explicit TChartBrush(TChangeEvent onChange) : FOnChange(std::move(onChange)) {}
    TChartBrush(const TChartBrush&) = delete;
    TChartBrush& operator=(const TChartBrush&) = delete;
    virtual ~TChartBrush() = default;

    // clDefault: the brush's user decides (series colour, panel colour, ...).
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value);
    // The pattern image; a null image means none.
    const QImage& Image() const { return FImage; }
    bool HasImage() const { return !FImage.isNull(); }
    void SetImage(const QImage& value);
    void ClearImage() { SetImage(QImage()); }

    // Hatch number index: entry index mod 6 of bsHorizontal, bsVertical, bsFDiagonal,
    // bsBDiagonal, bsCross, bsDiagCross (negative numbers count on from the end of the list).
    static TBrushStyle DefaultHatch(std::int32_t index);
    void SetDefaultHatch(std::int32_t index) { SetStyle(DefaultHatch(index)); }

    // Copies colour, style and image; reports one change.
    void Assign(const TChartBrush& source);
    void SetOnChange(TChangeEvent onChange) { FOnChange = std::move(onChange); }

protected:
    // Sets a default without reporting it (used by owners with other defaults).
    void InitDefaults(TColor color, TBrushStyle style);

private:
    void Changed() const;

    TChangeEvent FOnChange;
    TColor FColor = clDefault;
    TBrushStyle FStyle = bsSolid;
    QImage FImage;
};

} // namespace Korvatel
