// SPDX-License-Identifier: MIT
#include <korvatel/axes/FormatSettings.h>

namespace Korvatel {

TFormatSettings TFormatSettings::FromLocale(const QLocale& locale) {
    TFormatSettings settings;
    settings.ThousandSeparator = locale.groupSeparator().toStdString();
    settings.DecimalSeparator = locale.decimalPoint().toStdString();
    settings.ShortDateFormat = locale.dateFormat(QLocale::ShortFormat).toStdString();
    settings.ShortTimeFormat = locale.timeFormat(QLocale::ShortFormat).toStdString();
    settings.Locale = locale;
    return settings;
}

void TFormatSettings::SetDecimalSeparator(std::string_view separator) {
    DecimalSeparator = separator;
    if (ThousandSeparator == DecimalSeparator) {
        ThousandSeparator = DecimalSeparator == "." ? "," : ".";
    }
}

TFormatSettings& ProcessFormatSettings() {
    static TFormatSettings settings = TFormatSettings::FromLocale(QLocale::system());
    return settings;
}

} // namespace Korvatel
