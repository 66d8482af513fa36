#include "SeriesMarks.h"

#include "ChartSeries.h"

void TSeriesMarks::Changed() {
    if (FOwner != nullptr) {
        FOwner->RequestRepaint();
    }
}

void TSeriesMarks::SetVisible(bool value) {
    if (FVisible != value) {
        FVisible = value;
        Changed();
    }
}

void TSeriesMarks::SetArrowLength(std::int32_t value) {
    if (FArrowLength != value) {
        FArrowLength = value;
        Changed();
    }
}

void TSeriesMarks::SetStyle(TSeriesMarksStyle value) {
    if (FStyle != value) {
        FStyle = value;
        Changed();
    }
}

void TSeriesMarks::SetClip(bool value) {
    if (FClip != value) {
        FClip = value;
        Changed();
    }
}

void TSeriesMarks::Assign(const TSeriesMarks& source) {
    FVisible = source.FVisible;
    FArrowLength = source.FArrowLength;
    FStyle = source.FStyle;
    FClip = source.FClip;
    Changed();
}
