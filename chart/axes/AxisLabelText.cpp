// SPDX-License-Identifier: MIT
#include <korvatel/axes/AxisLabelText.h>

#include <korvatel/axes/ChartDateTime.h>
#include <korvatel/axes/NumberFormat.h>

#include <algorithm>
#include <limits>

namespace Korvatel {

std::string DateTimeLabelText(double value, std::string_view dateTimeFormat, double effectiveRange,
                              const TFormatSettings& settings) {
    if (!(value >= 0)) {
        return {};
    }
    const QDateTime dateTime = ChartDateTimeToQDateTime(value);
    if (!dateTime.isValid()) {
        return {};
    }
    std::string_view pattern = dateTimeFormat;
    if (pattern.empty()) {
        pattern = effectiveRange > 1 ? settings.ShortDateFormat : settings.ShortTimeFormat;
    }
    const QString format =
        QString::fromUtf8(pattern.data(), static_cast<qsizetype>(pattern.size()));
    return settings.Locale.toString(dateTime, format).toStdString();
}

std::string ValueLabelText(double value, const TAxisLabelFormat& format,
                           const TFormatSettings& settings) {
    if (format.DateTime) {
        return DateTimeLabelText(value, format.DateTimeFormat, format.EffectiveRange, settings);
    }
    return FormatNumber(value, format.ValuesFormat, settings.ThousandSeparator,
                        settings.DecimalSeparator);
}

std::string MultiLineLabelText(std::string text) {
    std::replace(text.begin(), text.end(), ' ', LabelLineSeparator);
    return text;
}

std::string FormatAxisLabel(double value, const TAxisLabelFormat& format,
                            const TFormatSettings& settings,
                            const TGetAxisLabelText& onGetAxisLabel) {
    std::string text = ValueLabelText(value, format, settings);
    if (onGetAxisLabel) {
        onGetAxisLabel(text);
    }
    if (format.MultiLine) {
        text = MultiLineLabelText(std::move(text));
    }
    return text;
}

TMultiLineExtent MeasureMultiLineText(std::string_view text, const TMeasureTextWidth& measure) {
    TMultiLineExtent extent;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(LabelLineSeparator, start);
        const std::string_view line = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        // The last part only counts when it holds text, or when it is the whole text.
        if (end != std::string_view::npos || !line.empty() || start == 0) {
            extent.Width = std::max(extent.Width, measure(line));
            ++extent.Lines;
        }
        if (end == std::string_view::npos) {
            return extent;
        }
        start = end + 1;
    }
}

std::int32_t LabelSizeAlongAxis(const TMultiLineExtent& extent, std::int32_t textRowHeight,
                                bool horizontal, std::int32_t labelsAngle) {
    const bool across = horizontal ? (labelsAngle == 90 || labelsAngle == 270)
                                   : (labelsAngle == 0 || labelsAngle == 180);
    if (!across) {
        return extent.Width;
    }
    const std::int64_t size = static_cast<std::int64_t>(textRowHeight) * extent.Lines;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        size, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace Korvatel
