// SPDX-License-Identifier: MIT
// A long run of the real window: the longest string animated while random input arrives the
// way a user gives it (typed parameters, good and bad, spin clicks, Start and Stop, the check
// box, zoom and scroll drags, the wheel). It fails on any message box other than the invalid
// input one, on a window that stops drawing, and when the resident memory grows by more than
// 1 MiB after the warm-up.
//
// korvatel_soak [--seconds N] [--seed S]
#include <korvatel/render/ChartWidget.h>
#include <korvatel/data/FastLineSeries.h>
#include "LabeledEdit.h"
#include "MainWindow.h"
#include "MessageBoxes.h"
#include "ParamNumber.h"
#include "TypeText.h"
#include "UpDown.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <limits>
#include <malloc.h>
#include <random>
#include <string>
#include <string_view>
#include <unistd.h>

using namespace Korvatel;

namespace {

const QString InvalidInput = QString::fromUtf8("Hibás adat");
// A number beyond the range of a double is not stored: the runtime's overflow error says so.
const QString FloatOverflow = "Floating point overflow.";

// Sanitizer builds keep freed memory in quarantine, so their resident size says nothing
// about leaks; there the run looks for memory errors only.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool MeasureMemory = false;
#else
constexpr bool MeasureMemory = true;
#endif

constexpr long MemoryGrowthLimit = 1024 * 1024;

// Resident memory in bytes, after returning what the allocator holds free, so that the
// figure follows what the program keeps rather than how the heap happens to be cut up.
long ResidentBytes() {
    malloc_trim(0);
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// Counts the boxes and remembers any that is not the invalid input box, nor the overflow box
// after a number beyond the range of a double.
class TSoakMessageBoxes final : public TMessageBoxes {
public:
    void ShowModal(QWidget* /*owner*/, const TMessageBoxRequest& request) override {
        if (request.Text == InvalidInput) {
            ++InvalidInputBoxes;
        } else if (request.Text == FloatOverflow && OverflowExpected && OverflowExpected()) {
            ++OverflowBoxes;
        } else {
            ++UnexpectedBoxes;
            std::fprintf(stderr, "unexpected box: %s\n", qPrintable(request.Text));
        }
    }

    std::function<bool()> OverflowExpected;
    long InvalidInputBoxes = 0;
    long OverflowBoxes = 0;
    long UnexpectedBoxes = 0;
};

class TSoak {
public:
    TSoak(std::uint64_t seed) : FRandom(seed), FForm(&FBoxes) {
        // The field keeps a text it could not store, so every later validation of it, when
        // the focus leaves it, reports the overflow again.
        FBoxes.OverflowExpected = [this] {
            return Overflows(FForm.LabeledEdit1()->text()) ||
                   Overflows(FForm.LabeledEdit3()->text());
        };
    }

    int Run(int seconds) {
        FForm.show();
        if (!QTest::qWaitForWindowExposed(&FForm)) {
            std::fprintf(stderr, "the window did not show\n");
            return 1;
        }
        Enter(FForm.LabeledEdit1(), "2000");
        QTest::mouseClick(FForm.Button1(), Qt::LeftButton);

        // Caches fill and empty again as the zoom brings new label texts, so the resident
        // size rises and falls by a few hundred KiB. What would show a leak is a rise of the
        // highs: the highest sample of the second half of the warm-up is compared with the
        // highest of the last part of the run (a sample a second).
        const long runMs = seconds * 1000L;
        const long warmUpMs = std::min<long>(runMs / 3, 60000);
        const long finalWindowMs = std::max<long>(runMs / 6, std::min<long>(runMs / 3, 20000));
        QElapsedTimer clock;
        clock.start();
        long baseline = 0;
        long final = 0;
        long peak = 0;
        long lastSample = 0;
        long actions = 0;
        while (clock.elapsed() < runMs) {
            RandomAction();
            ++actions;
            const long now = clock.elapsed();
            if (now - lastSample < 1000) {
                continue;
            }
            lastSample = now;
            const long resident = ResidentBytes();
            peak = std::max(peak, resident);
            if (now >= warmUpMs / 2 && now < warmUpMs) {
                baseline = std::max(baseline, resident);
            } else if (now >= runMs - finalWindowMs) {
                final = std::max(final, resident);
            }
            if (now / 10000 != (now - 1000) / 10000) {
                std::printf("%5lds  resident %8ld KiB  actions %ld  moving %ld  boxes %ld\n",
                            now / 1000, resident / 1024, actions, FFrames,
                            FBoxes.InvalidInputBoxes);
                std::fflush(stdout);
            }
        }
        // Let the last frames run, then stop.
        Enter(FForm.LabeledEdit1(), "2000");
        Enter(FForm.LabeledEdit3(), "0");
        QTest::mouseClick(FForm.Button1(), Qt::LeftButton);
        QTest::qWait(200);
        QTest::mouseClick(FForm.Button2(), Qt::LeftButton);

        int result = 0;
        std::printf("actions %ld, of them with the time moving %ld, invalid input boxes %ld, "
                    "overflow boxes %ld\n",
                    actions, FFrames, FBoxes.InvalidInputBoxes, FBoxes.OverflowBoxes);
        if (FBoxes.UnexpectedBoxes != 0) {
            std::fprintf(stderr, "FAIL: %ld unexpected message boxes\n", FBoxes.UnexpectedBoxes);
            result = 1;
        }
        if (FFrames == 0 || FForm.Series1().PointCount() != 2001) {
            std::fprintf(stderr, "FAIL: the wave of L = 2000 was not drawn\n");
            result = 1;
        }
        std::printf("highest resident after warm-up %ld KiB, at the end %ld KiB, overall %ld KiB, "
                    "growth %+ld KiB\n",
                    baseline / 1024, final / 1024, peak / 1024, (final - baseline) / 1024);
        if (MeasureMemory && baseline != 0 && final != 0 && final - baseline > MemoryGrowthLimit) {
            std::fprintf(stderr, "FAIL: resident memory grew by more than 1 MiB\n");
            result = 1;
        }
        return result;
    }

private:
    int Uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(FRandom);
    }
    bool Chance(int percent) { return Uniform(1, 100) <= percent; }

    void RandomAction() {
        switch (Uniform(0, 11)) {
        case 0:
            // Mostly the longest string, sometimes any length the field admits.
            Enter(FForm.LabeledEdit1(), Chance(60) ? "2000" : ValidNumber(100, 2000));
            break;
        case 1:
            Enter(FForm.LabeledEdit3(), ValidNumber(0, 0.999));
            break;
        case 2: {
            QLineEdit* field = Chance(50) ? static_cast<QLineEdit*>(FForm.LabeledEdit1())
                                          : static_cast<QLineEdit*>(FForm.LabeledEdit3());
            TypeInto(field, BadText());
            // Leave it by Enter or by moving the focus, as a user would.
            if (Chance(50)) {
                QTest::keyClick(field, Qt::Key_Return);
            } else {
                QTest::keyClick(field, Qt::Key_Tab);
            }
            Restore();
            break;
        }
        case 3:
            for (int n = Uniform(1, 8); n > 0; --n) {
                QTest::mouseClick(Chance(50) ? FForm.UpDown1()->UpButton()
                                             : FForm.UpDown1()->DownButton(),
                                  Qt::LeftButton);
            }
            break;
        case 4:
            QTest::mouseClick(FForm.Button1(), Qt::LeftButton);
            break;
        case 5:
            if (Chance(30)) {
                QTest::mouseClick(FForm.Button2(), Qt::LeftButton);
            }
            break;
        case 6:
            QTest::mouseClick(FForm.CheckBox1(), Qt::LeftButton);
            break;
        case 7:
            Drag(Qt::LeftButton, RandomPlotPoint(), RandomPlotPoint());
            break;
        case 8:
            // A deep zoom into a few pixels, then back out by a reverse drag.
            {
                const QPoint from = RandomPlotPoint();
                Drag(Qt::LeftButton, from, from + QPoint(Uniform(17, 20), Uniform(17, 20)));
                QTest::qWait(Uniform(40, 200));
                if (Chance(70)) {
                    Drag(Qt::LeftButton, from + QPoint(40, 40), from);
                }
            }
            break;
        case 9:
            Drag(Qt::RightButton, RandomPlotPoint(), RandomPlotPoint());
            break;
        case 10:
            Wheel(Chance(50) ? 120 : -120);
            break;
        default:
            QTest::qWait(Uniform(0, 200));
            break;
        }
        QCoreApplication::processEvents();
        if (FForm.State().SimTime != FLastTime) {
            FLastTime = FForm.State().SimTime;
            ++FFrames;
        }
    }

    // After a rejected value the field keeps the focus and Start stays disabled until a good
    // value stands; the soak gives one so that the animation goes on.
    void Restore() {
        if (!FForm.Button1()->isEnabled()) {
            Enter(FForm.LabeledEdit1(), "2000");
            Enter(FForm.LabeledEdit3(), ValidNumber(0, 0.999));
            QTest::mouseClick(FForm.Button1(), Qt::LeftButton);
        }
    }

    static bool Overflows(const QString& text) {
        const TParamNumber number = ParseParamNumber(text.toStdString());
        return number.Valid && std::fabs(number.Value) > std::numeric_limits<double>::max();
    }

    std::string ValidNumber(double low, double high) {
        const double value = std::uniform_real_distribution<double>(low, high)(FRandom);
        char text[64];
        switch (Uniform(0, 3)) {
        case 0:
            std::snprintf(text, sizeof text, "%.0f",
                          std::max(low, std::min(high, std::floor(value))));
            break;
        case 1:
            std::snprintf(text, sizeof text, "%.3f", std::floor(value * 1000) / 1000);
            break;
        case 2:
            std::snprintf(text, sizeof text, "%.4e", std::floor(value * 1000) / 1000);
            break;
        default:
            std::snprintf(text, sizeof text, "%.2f", std::floor(value * 100) / 100);
            break;
        }
        return text;
    }

    std::string BadText() {
        static constexpr std::array<std::string_view, 18> known = {
            "",     " ",  "-",  "+",    "1e999999999999", "-1e5000", "1,5",    "0.5.5", "abc",
            "0x10", "1e", "99", "2001", "-0.1",           "1",       "0.9991", "5 ",    "\xc3\x9f"};
        if (Chance(50)) {
            return std::string(known[static_cast<std::size_t>(Uniform(0, known.size() - 1))]);
        }
        // Random characters from the number syntax and around it.
        static constexpr std::string_view alphabet = "0123456789.eE+- x,";
        std::string text;
        for (int n = Uniform(1, 24); n > 0; --n) {
            text += alphabet[static_cast<std::size_t>(Uniform(0, alphabet.size() - 1))];
        }
        return text;
    }

    static void TypeInto(QLineEdit* field, const std::string& text) {
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_Backspace);
        TypeText(field, QString::fromStdString(text));
    }

    void Enter(QLineEdit* field, const std::string& text) {
        TypeInto(field, text);
        QTest::keyClick(field, Qt::Key_Return);
        Restore();
    }

    QPoint RandomPlotPoint() {
        const QRect plot = FForm.Chart1()->rect().adjusted(60, 40, -30, -40);
        return {Uniform(plot.left(), plot.right()), Uniform(plot.top(), plot.bottom())};
    }

    // A drag with the button held in every move, in a few steps.
    void Drag(Qt::MouseButton button, QPoint from, QPoint to) {
        QWidget* chart = FForm.Chart1();
        SendMouse(chart, QEvent::MouseButtonPress, from, button, button);
        const int steps = Uniform(1, 6);
        for (int i = 1; i <= steps; ++i) {
            const QPoint at = from + (to - from) * i / steps;
            SendMouse(chart, QEvent::MouseMove, at, Qt::NoButton, button);
            if (Chance(30)) {
                QCoreApplication::processEvents();
            }
        }
        SendMouse(chart, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
    }

    static void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button,
                          Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    void Wheel(int delta) {
        QWidget* chart = FForm.Chart1();
        const QPointF at(RandomPlotPoint());
        QWheelEvent event(at, chart->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(chart, &event);
    }

    std::mt19937_64 FRandom;
    TSoakMessageBoxes FBoxes;
    TForm1 FForm;
    // Actions after which the animation time had moved on.
    long FFrames = 0;
    double FLastTime = 0;
};

} // namespace

int main(int argc, char** argv) {
    int seconds = 120;
    std::uint64_t seed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view option = argv[i];
        if (option == "--seconds") {
            seconds = std::atoi(argv[i + 1]);
        } else if (option == "--seed") {
            seed = std::strtoull(argv[i + 1], nullptr, 10);
        }
    }
    QApplication application(argc, argv);
    std::printf("soak: %d s, seed %llu, memory %s\n", seconds,
                static_cast<unsigned long long>(seed), MeasureMemory ? "measured" : "not measured");
    TSoak soak(seed);
    return soak.Run(seconds);
}
