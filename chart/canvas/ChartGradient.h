// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/core/ChartTypes.h>

#include <cstdint>
#include <functional>

namespace Korvatel {

// Where a gradient starts: the linear directions name the edge that gets the start colour
// first; gdFromCenter paints rings from the edge (start colour) to the centre (end colour);
// the two diagonal ones paint from the named corner (start colour) to the opposite one.
enum TGradientDirection : std::uint8_t {
    gdTopBottom,
    gdBottomTop,
    gdLeftRight,
    gdRightLeft,
    gdFromCenter,
    gdFromTopLeft,
    gdFromBottomLeft
};

// The gradient settings of the panel background. Every change is reported to the owner, which
// asks the chart for a repaint.
class KORVATEL_EXPORT TChartGradient {
public:
    using TChangeEvent = std::function<void()>;

    TChartGradient() = default;
    explicit TChartGradient(TChangeEvent onChange) : FOnChange(std::move(onChange)) {}
    TChartGradient(const TChartGradient&) = delete;
    TChartGradient& operator=(const TChartGradient&) = delete;

    TGradientDirection Direction() const { return FDirection; }
    void SetDirection(TGradientDirection value);
    TColor StartColor() const { return FStartColor; }
    void SetStartColor(TColor value);
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    // Copies all four settings; reports one change.
    void Assign(const TChartGradient& source);
    void SetOnChange(TChangeEvent onChange) { FOnChange = std::move(onChange); }

private:
    template <typename T>
    void SetProperty(T& field, T value) {
        if (field != value) {
            field = value;
            Changed();
        }
    }
    void Changed() const;

    TChangeEvent FOnChange;
    TGradientDirection FDirection = gdTopBottom;
    TColor FStartColor = clWhite;
    TColor FEndColor = clYellow;
    bool FVisible = false;
};

} // namespace Korvatel
