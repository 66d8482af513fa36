// SPDX-License-Identifier: MIT
// Takes a screenshot of the X display and checks the colours of given pixels.
//
//   korvatel_screen_grab OUTPUT.png TIMEOUT_MS [crop=X,Y,W,H] X,Y=#RRGGBB ...
//                        [any=X,Y,W,H=#RRGGBB] ...
//
// The screen is grabbed again and again until every pixel has its colour (and every "any"
// rectangle holds at least one pixel of its colour) or the time is up (the program under test
// needs a moment to show its window). The last screenshot is saved
// either way, cut to the crop rectangle when one is given; the pixels are screen positions.
// Exit code 0 when all pixels matched, 1 otherwise, 2 on wrong arguments.
#include <QColor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QStringList>
#include <QThread>
#include <cstdio>
#include <vector>

namespace {

// One pixel of a colour, or, with an area, any pixel of the colour inside the area.
struct TExpectedPixel {
    int X = 0;
    int Y = 0;
    QRect Area;
    QColor Color;
    QString Text;
};

bool ParseRect(const QString& text, QRect& rect);

bool ParseExpectation(const QString& text, TExpectedPixel& pixel) {
    if (text.startsWith(QStringLiteral("any="))) {
        const QStringList sides = text.mid(4).split(QLatin1Char('='));
        pixel.Text = text;
        pixel.Color = sides.size() == 2 ? QColor::fromString(sides[1]) : QColor();
        return sides.size() == 2 && ParseRect(sides[0], pixel.Area) && pixel.Color.isValid();
    }
    const QStringList sides = text.split(QLatin1Char('='));
    if (sides.size() != 2) {
        return false;
    }
    const QStringList place = sides[0].split(QLatin1Char(','));
    bool xOk = false;
    bool yOk = false;
    if (place.size() != 2) {
        return false;
    }
    pixel.X = place[0].toInt(&xOk);
    pixel.Y = place[1].toInt(&yOk);
    pixel.Color = QColor::fromString(sides[1]);
    pixel.Text = text;
    return xOk && yOk && pixel.Color.isValid();
}

// The expectations the image does not meet, as readable lines.
QStringList Mismatches(const QImage& image, const std::vector<TExpectedPixel>& expected) {
    QStringList result;
    for (const TExpectedPixel& pixel : expected) {
        if (!pixel.Area.isNull()) {
            bool found = false;
            const QRect area = pixel.Area.intersected(image.rect());
            for (int y = area.top(); y <= area.bottom() && !found; ++y) {
                for (int x = area.left(); x <= area.right() && !found; ++x) {
                    found = image.pixelColor(x, y).rgb() == pixel.Color.rgb();
                }
            }
            if (!found) {
                result << pixel.Text + QStringLiteral(": no such pixel");
            }
            continue;
        }
        if (!image.valid(pixel.X, pixel.Y)) {
            result << pixel.Text + QStringLiteral(": outside the screen");
            continue;
        }
        const QColor actual = image.pixelColor(pixel.X, pixel.Y);
        if (actual.rgb() != pixel.Color.rgb()) {
            result << pixel.Text + QStringLiteral(": found ") + actual.name();
        }
    }
    return result;
}

bool ParseCrop(const QString& text, QRect& crop) {
    return ParseRect(text.mid(5), crop);
}

bool ParseRect(const QString& text, QRect& rect) {
    const QStringList numbers = text.split(QLatin1Char(','));
    if (numbers.size() != 4) {
        return false;
    }
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = numbers[i].toInt(&ok);
        if (!ok) {
            return false;
        }
    }
    rect = QRect(values[0], values[1], values[2], values[3]);
    return rect.isValid();
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(
            stderr,
            "usage: korvatel_screen_grab OUTPUT.png TIMEOUT_MS [crop=X,Y,W,H] X,Y=#RRGGBB...\n");
        return 2;
    }
    const QString output = args[1];
    const int timeout = args[2].toInt();
    std::vector<TExpectedPixel> expected;
    QRect crop;
    for (qsizetype i = 3; i < args.size(); ++i) {
        if (args[i].startsWith(QStringLiteral("crop="))) {
            if (!ParseCrop(args[i], crop)) {
                std::fprintf(stderr, "not a crop rectangle: %s\n", qPrintable(args[i]));
                return 2;
            }
            continue;
        }
        TExpectedPixel pixel;
        if (!ParseExpectation(args[i], pixel)) {
            std::fprintf(stderr, "not a pixel expectation: %s\n", qPrintable(args[i]));
            return 2;
        }
        expected.push_back(pixel);
    }

    QScreen* screen = QGuiApplication::primaryScreen();
    QElapsedTimer clock;
    clock.start();
    QImage image;
    QStringList mismatches;
    do {
        image = screen->grabWindow(0).toImage();
        mismatches = Mismatches(image, expected);
        if (mismatches.isEmpty()) {
            break;
        }
        QThread::msleep(100);
    } while (clock.elapsed() < timeout);

    if (!crop.isNull()) {
        image = image.copy(crop);
    }
    if (!image.save(output)) {
        std::fprintf(stderr, "could not save %s\n", qPrintable(output));
        return 1;
    }
    for (const QString& line : mismatches) {
        std::fprintf(stderr, "%s\n", qPrintable(line));
    }
    return mismatches.isEmpty() ? 0 : 1;
}
