// SPDX-License-Identifier: MIT
// The window under locales that write decimal commas: every number it shows keeps the point,
// the grouping and the date formats stay the locale's, and the chart draws as under C. Each
// locale runs in a process of its own (korvatel_locale_probe), which takes it from the
// environment at start-up as the program does.
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>
#include <locale.h>
#include <map>
#include <sstream>
#include <string>

namespace {

const std::string NoBreakSpace = "\xC2\xA0";

struct TProbeResult {
    std::map<std::string, std::string> Values;
    QImage Full;
    QImage Zoomed;
    int PlotLeft = 0;
};

bool LocaleInstalled(const char* name) {
    const locale_t locale = newlocale(LC_ALL_MASK, name, nullptr);
    if (locale == nullptr) {
        return false;
    }
    freelocale(locale);
    return true;
}

// Runs the probe with the locale as LC_ALL. A run that fails leaves the result empty and
// the test failed.
TProbeResult Probe(const char* locale) {
    TProbeResult result;
    QTemporaryDir output;
    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    probe.setProcessEnvironment(environment);
    probe.setProcessChannelMode(QProcess::ForwardedChannels);
    probe.start(QStringLiteral(KORVATEL_LOCALE_PROBE), {output.path()});
    const bool finished = probe.waitForFinished(120000);
    if (!finished || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0) {
        ADD_FAILURE() << "the probe failed under " << locale;
        return result;
    }
    QFile file(output.filePath(QStringLiteral("probe.txt")));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << locale;
    std::istringstream lines(file.readAll().toStdString());
    for (std::string line; std::getline(lines, line);) {
        const std::size_t tab = line.find('\t');
        result.Values[line.substr(0, tab)] = line.substr(tab + 1);
    }
    result.Full =
        QImage(output.filePath(QStringLiteral("full.png"))).convertToFormat(QImage::Format_RGB32);
    result.Zoomed =
        QImage(output.filePath(QStringLiteral("zoomed.png"))).convertToFormat(QImage::Format_RGB32);
    std::istringstream(result.Values["plot"]) >> result.PlotLeft;
    return result;
}

// The columns in which two pictures of one size differ: their leftmost and rightmost.
std::pair<int, int> DifferingColumns(const QImage& a, const QImage& b) {
    int left = a.width();
    int right = -1;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return {left, right};
}

class LocaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* locale : {"hu_HU.UTF-8", "de_DE.UTF-8"}) {
            if (!LocaleInstalled(locale)) {
                std::fprintf(stderr,
                             "\n*** THE LOCALE TEST IS SKIPPED: %s is not installed. As root, "
                             "scripts/deps.sh installs it (localedef -i %.5s -f UTF-8 %s). ***\n\n",
                             locale, locale, locale);
                GTEST_SKIP() << locale << " is not installed";
            }
        }
    }
};

} // namespace

TEST_F(LocaleTest, NumbersKeepThePointWhileGroupingAndDatesStayTheLocales) {
    const struct {
        const char* Locale;
        std::string Thousands;
    } rows[] = {
        {"hu_HU.UTF-8", NoBreakSpace},
        // The locale groups with ".", which would read as the decimal point.
        {"de_DE.UTF-8", ","},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Locale);
        TProbeResult result = Probe(row.Locale);
        std::map<std::string, std::string>& values = result.Values;
        EXPECT_EQ(values["decimal"], ".");
        EXPECT_EQ(values["thousands"], row.Thousands);
        EXPECT_EQ(values["number 100000"], "1" + row.Thousands + "000");
        EXPECT_EQ(values["number 123450"], "1" + row.Thousands + "234.5");
        EXPECT_EQ(values["number -25"], "-0.25");
        const QLocale locale(QString::fromLatin1(row.Locale));
        EXPECT_EQ(values["shortdate"], locale.dateFormat(QLocale::ShortFormat).toStdString());
        EXPECT_EQ(values["shorttime"], locale.timeFormat(QLocale::ShortFormat).toStdString());
        // The C library's conversions, which the toolkit set to the user's locale.
        EXPECT_EQ(values["printf"], "0.50");
        EXPECT_EQ(values["strtod"], "25");
        // The velocity field: written by the spin control, then typed and admitted.
        EXPECT_EQ(values["spin"], "0.01");
        EXPECT_EQ(values["typed"], "25");
        EXPECT_EQ(values["boxes"], "0");
    }
}

TEST_F(LocaleTest, TheChartDrawsAsUnderC) {
    const TProbeResult c = Probe("C.UTF-8");
    ASSERT_FALSE(c.Zoomed.isNull());
    EXPECT_NE(c.Values.at("zoomed bottom").find("| 0.49 |"), std::string::npos);

    // Under hu_HU the left axis groups its thousands with a no-break space; everything else,
    // the zoomed bottom axis's labels among it, is as under C.
    const TProbeResult hungarian = Probe("hu_HU.UTF-8");
    EXPECT_EQ(hungarian.Values.at("zoomed bottom"), c.Values.at("zoomed bottom"));
    EXPECT_NE(hungarian.Values.at("zoomed left").find("1" + NoBreakSpace + "000"),
              std::string::npos);
    ASSERT_EQ(hungarian.Zoomed.size(), c.Zoomed.size());
    const auto [left, right] = DifferingColumns(hungarian.Zoomed, c.Zoomed);
    EXPECT_LE(left, right) << "the left axis's labels should differ";
    EXPECT_LT(right, c.PlotLeft) << "only the left axis's labels may differ";

    // Under de_DE the whole chart is as under C.
    const TProbeResult german = Probe("de_DE.UTF-8");
    for (const char* key : {"full bottom", "full left", "zoomed bottom", "zoomed left"}) {
        EXPECT_EQ(german.Values.at(key), c.Values.at(key)) << key;
    }
    EXPECT_TRUE(german.Full == c.Full);
    EXPECT_TRUE(german.Zoomed == c.Zoomed);
}
