#pragma once

#include <cstdint>

class TCustomAxisPanel;

// One axis of a chart. It turns series values into pixel positions along one side of the
// chart rectangle and back, and draws its line, ticks, grid and labels.
class TCustomChartAxis {
public:
    TCustomChartAxis(TCustomAxisPanel* chart, bool horizontal, bool oppositeSide, bool depth);
    virtual ~TCustomChartAxis() = default;
    TCustomChartAxis(const TCustomChartAxis&) = delete;
    TCustomChartAxis& operator=(const TCustomChartAxis&) = delete;

    TCustomAxisPanel* ParentChart() const { return FParentChart; }
    bool IsHorizontal() const { return FIsHorizontal; }
    bool OppositeSide() const { return FOppositeSide; }
    bool IsDepth() const { return FIsDepth; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

protected:
    void Changed() const;

private:
    TCustomAxisPanel* FParentChart;
    bool FIsHorizontal;
    bool FOppositeSide;
    bool FIsDepth;
    bool FVisible;
};

// The four side axes.
class TChartAxis : public TCustomChartAxis {
public:
    using TCustomChartAxis::TCustomChartAxis;
};

// The depth axis of a three-dimensional chart; hidden by default.
class TChartDepthAxis : public TCustomChartAxis {
public:
    explicit TChartDepthAxis(TCustomAxisPanel* chart);
};
