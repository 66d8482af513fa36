// SPDX-License-Identifier: MIT
// Runs the real window under whatever locale the environment names and writes what it shows:
// the number settings, a few number texts, the C library's number conversions, the texts of
// the chart's axis labels and the chart's pixels, before and after the bottom axis is zoomed
// into 0 ... 0.5, and the velocity field after a spin click and after a typed value.
//
//   korvatel_locale_probe OUTPUT_DIR
//
// OUTPUT_DIR receives probe.txt (one "key<TAB>value" line each, UTF-8), full.png and
// zoomed.png. The locale test starts it once per locale, so that each run takes its locale
// from the environment at start-up, as the program does; a locale cannot be changed reliably
// inside a running toolkit.
#include <korvatel/axes/ChartAxis.h>
#include <korvatel/render/ChartWidget.h>
#include <korvatel/axes/FormatSettings.h>
#include "LabeledEdit.h"
#include "MainWindow.h"
#include <korvatel/axes/NumberFormat.h>
#include "RecordingMessageBoxes.h"
#include "UpDown.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

// The label texts an axis asked for during one drawing, each once, in the order asked.
using TLabelTexts = std::map<const TCustomChartAxis*, std::vector<std::string>>;

std::string Joined(const std::vector<std::string>& texts) {
    std::string result;
    for (const std::string& text : texts) {
        result += result.empty() ? "" : " | ";
        result += text;
    }
    return result;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    std::vector<std::pair<std::string, std::string>> lines;
    const auto put = [&lines](std::string key, std::string value) {
        lines.emplace_back(std::move(key), std::move(value));
    };

    TRecordingMessageBoxes boxes;
    TForm1 form(&boxes);
    form.show();
    if (!QTest::qWaitForWindowActive(&form)) {
        std::fprintf(stderr, "the window did not become active\n");
        return 1;
    }

    const TFormatSettings& settings = ProcessFormatSettings();
    put("decimal", settings.DecimalSeparator);
    put("thousands", settings.ThousandSeparator);
    put("shortdate", settings.ShortDateFormat);
    put("shorttime", settings.ShortTimeFormat);
    for (const double value : {1000.0, 1234.5, -0.25}) {
        put("number " + std::to_string(static_cast<int>(value * 100)),
            FormatNumber(value, "#,##0.###", settings.ThousandSeparator,
                         settings.DecimalSeparator));
    }

    char written[32];
    std::snprintf(written, sizeof written, "%.2f", 0.5);
    put("printf", written);
    put("strtod", std::to_string(static_cast<int>(std::strtod("0.25", nullptr) * 100)));

    TChart& chart = form.Chart1()->Chart();
    TLabelTexts labels;
    chart.OnGetAxisLabel = [&labels](TCustomChartAxis* axis, TChartSeries*, std::int32_t,
                                     std::string& text) {
        std::vector<std::string>& texts = labels[axis];
        if (std::find(texts.begin(), texts.end(), text) == texts.end()) {
            texts.push_back(text);
        }
    };
    // The action makes the chart draw anew, either at once or when it is grabbed.
    const auto drawn = [&](const char* name, const auto& action) {
        labels.clear();
        action();
        const QImage picture = form.Chart1()->grab().toImage();
        picture.save(output.filePath(QString::fromLatin1(name) + ".png"));
        put(std::string(name) + " bottom", Joined(labels[&chart.BottomAxis()]));
        put(std::string(name) + " left", Joined(labels[&chart.LeftAxis()]));
    };

    // A quarter of a second of the wave, then the bottom axis zoomed into its first half unit.
    drawn("full", [&form] {
        for (int frame = 0; frame < 12; ++frame) {
            form.Timer1Timer(nullptr);
        }
    });
    drawn("zoomed", [&chart] { chart.BottomAxis().AssignRange(0.0, 0.5); });
    const TRect plot = chart.PlotRect();
    put("plot", std::to_string(plot.Left) + " " + std::to_string(plot.Top) + " " +
                    std::to_string(plot.Right) + " " + std::to_string(plot.Bottom));
    chart.OnGetAxisLabel = nullptr;

    QTest::mouseClick(form.UpDown1()->UpButton(), Qt::LeftButton);
    put("spin", form.LabeledEdit3()->text().toStdString());
    QTest::mouseClick(form.LabeledEdit3(), Qt::LeftButton);
    QTest::keyClicks(form.LabeledEdit3(), QStringLiteral("0.25"));
    QTest::keyClick(form.LabeledEdit3(), Qt::Key_Return);
    put("typed", std::to_string(static_cast<int>(form.State().Beta * 100)));
    put("boxes", std::to_string(boxes.Shown.size()));

    QFile file(output.filePath(QStringLiteral("probe.txt")));
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return 1;
    }
    for (const auto& [key, value] : lines) {
        file.write((key + '\t' + value + '\n').c_str());
    }
    return 0;
}
