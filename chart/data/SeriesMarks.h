#pragma once

#include <cstdint>

class TChartSeries;

// What the mark beside a point shows.
enum TSeriesMarksStyle : std::uint8_t {
    smsValue,
    smsPercent,
    smsLabel,
    smsLabelPercent,
    smsLabelValue,
    smsLegend,
    smsPercentTotal,
    smsLabelPercentTotal,
    smsXValue
};

// The text marks drawn beside the points of a series. Every change asks the owning series'
// chart for a repaint.
class TSeriesMarks {
public:
    explicit TSeriesMarks(TChartSeries* owner) : FOwner(owner) {}

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    std::int32_t ArrowLength() const { return FArrowLength; }
    void SetArrowLength(std::int32_t value);
    TSeriesMarksStyle Style() const { return FStyle; }
    void SetStyle(TSeriesMarksStyle value);
    bool Clip() const { return FClip; }
    void SetClip(bool value);

    // Takes every setting of another marks object.
    void Assign(const TSeriesMarks& source);
    // The series was emptied: positions kept for its points are gone.
    void ClearPositions() {}

private:
    void Changed();

    TChartSeries* FOwner;
    bool FVisible = true;
    std::int32_t FArrowLength = 8;
    TSeriesMarksStyle FStyle = smsLabel;
    bool FClip = false;
};
