// SPDX-License-Identifier: MIT
// The chart panel's pictures, printed pages and PDF files (see ChartPanel.h).

#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/canvas/ChartFont.h>
#include <korvatel/render/ChartPanel.h>
#include <korvatel/core/ChartStrings.h>
#include <korvatel/canvas/ChartSurface.h>
#include <korvatel/canvas/DeviceScale.h>

#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <string>

namespace Korvatel {

namespace {

// The resolution of the PDF files: a logical pixel is 12.5 of its units, so that nothing that
// the chart places on whole logical pixels needs rounding.
constexpr int PdfResolution = 1200;

// Sets a flag for the length of a scope, also when the scope is left by an exception.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : FFlag(flag), FWas(flag) { FFlag = true; }
    ~TFlagScope() { FFlag = FWas; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
    bool FWas;
};

void CheckPictureSize(std::int64_t width, std::int64_t height) {
    if (width < 1 || height < 1) {
        throw ChartException(FormatMessage(ChartStrings::PictureSize, width, height));
    }
}

// A number as the messages show it: as short as it can be and still read back the same.
std::string NumberText(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest).toStdString();
}

} // namespace

void TCustomChartPanel::DrawOntoSurface(TChartSurface& surface, const TRect& rect) {
    const TRect window = FCanvas->Bounds();
    TChartSurface* kept = FCanvas->BitmapSurface();
    // Mouse handling goes on with the window's layout, so it is laid out again as the window
    // last showed it; the kept picture comes out the same and stays as clean or stale as it
    // was. Without a kept picture the window's next paint lays it out.
    auto backToTheWindow = [&] {
        FCanvas->EndDrawingOn();
        if (kept != nullptr && kept == FCanvas->BitmapSurface()) {
            DrawIntoBuffer(*kept, window);
        } else {
            RequestRepaint();
        }
    };
    FPanelBounds = FCanvas->BeginDrawingOn(surface, FView3DOptions.get(), rect, FView3D);
    try {
        ApplyPanelMargins();
        RenderChart(FPanelBounds);
    } catch (...) {
        // An event handler of the chart raised: the canvas must not stay on the caller's
        // surface, nor the layout be the picture's.
        backToTheWindow();
        throw;
    }
    backToTheWindow();
}

QImage TCustomChartPanel::DrawToImage(std::int32_t width, std::int32_t height,
                                      double devicePixelRatio) {
    CheckPictureSize(width, height);
    // The scale goes in steps of 1/256 up to 64: a ratio outside cannot be drawn as asked,
    // and a ratio inside is drawn at its nearest step, which the image then carries.
    constexpr double Smallest = 1.0 / TDeviceScale::Steps;
    if (!(devicePixelRatio >= Smallest) || !(devicePixelRatio <= TDeviceScale::Largest)) {
        throw ChartException(FormatMessage(
            ChartStrings::PixelRatio,
            {NumberText(devicePixelRatio), std::to_string(TDeviceScale::Largest)}));
    }
    const TDeviceScale scale = TDeviceScale::FromRatio(devicePixelRatio);
    const std::int64_t deviceWidth = scale.Edge(width);
    const std::int64_t deviceHeight = scale.Edge(height);
    if (deviceWidth < 1 || deviceHeight < 1) {
        throw ChartException(FormatMessage(ChartStrings::PictureNoDevicePixels,
                                           {std::to_string(width), std::to_string(height),
                                            NumberText(devicePixelRatio)}));
    }
    QImage image;
    // Beyond 2^29 pixels (2 GB) a QImage cannot be made at all; below, memory decides.
    if (deviceWidth * deviceHeight <= (std::int64_t{1} << 29)) {
        image = QImage(static_cast<int>(deviceWidth), static_cast<int>(deviceHeight),
                       QImage::Format_RGB32);
    }
    if (image.isNull()) {
        throw ChartException(FormatMessage(ChartStrings::PictureTooLarge, width, height));
    }
    image.fill(Qt::white);
    image.setDevicePixelRatio(scale.Value());
    {
        TChartSurface surface(image);
        DrawOntoSurface(surface, {0, 0, width, height});
    }
    return image;
}

void TCustomChartPanel::DrawToPainter(QPainter& painter, const QRect& rect) {
    CheckPictureSize(rect.width(), rect.height());
    painter.save();
    // The surface takes the painter's transform when it is made: the chart's logical pixels
    // start at the rectangle's corner.
    painter.translate(rect.topLeft());
    try {
        TChartSurface surface(painter);
        DrawOntoSurface(surface, {0, 0, rect.width(), rect.height()});
    } catch (...) {
        painter.restore();
        throw;
    }
    painter.restore();
}

void TCustomChartPanel::SetPrintProportional(bool value) {
    SetProperty(FPrintProportional, value);
}

void TCustomChartPanel::PrintPage(QPainter& painter, const QRectF& pageRect) {
    const QPaintDevice* device = painter.device();
    const double dpi = device != nullptr && device->logicalDpiX() > 0
                           ? device->logicalDpiX()
                           : TChartFont::ScreenPixelsPerInch;
    // Device units of the page to the logical pixel.
    const double scale = dpi / TChartFont::ScreenPixelsPerInch;
    double width = pageRect.width() / scale;
    double height = pageRect.height() / scale;
    if (FPrintProportional && FWidth > 0 && FHeight > 0) {
        const double fit = std::min(width / FWidth, height / FHeight);
        width = FWidth * fit;
        height = FHeight * fit;
    }
    const auto logicalWidth = static_cast<std::int32_t>(std::clamp(std::floor(width), 1.0, 1e6));
    const auto logicalHeight = static_cast<std::int32_t>(std::clamp(std::floor(height), 1.0, 1e6));
    const TFlagScope printing(FPrinting);
    painter.save();
    painter.translate(pageRect.left() + (pageRect.width() - logicalWidth * scale) / 2,
                      pageRect.top());
    painter.scale(scale, scale);
    try {
        TChartSurface surface(painter);
        DrawOntoSurface(surface, {0, 0, logicalWidth, logicalHeight});
    } catch (...) {
        painter.restore();
        throw;
    }
    painter.restore();
}

void TCustomChartPanel::Print(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        throw ChartException(std::string(ChartStrings::CannotPrint));
    }
    // The painter's origin is the top left of the printable area.
    const QRectF page(QPointF(0, 0),
                      printer.pageLayout().paintRectPixels(printer.resolution()).size());
    PrintPage(painter, page);
    painter.end();
    if (printer.printerState() == QPrinter::Error) {
        throw ChartException(std::string(ChartStrings::CannotPrint));
    }
}

void TCustomChartPanel::SaveToPdf(const QString& path, const QSize& size) {
    if (size.width() < 1 || size.height() < 1 || size.width() > LargestPdfPage ||
        size.height() > LargestPdfPage) {
        throw ChartException(FormatMessage(ChartStrings::PdfPageSize,
                                           {std::to_string(LargestPdfPage),
                                            std::to_string(LargestPdfPage),
                                            std::to_string(size.width()),
                                            std::to_string(size.height())}));
    }
    auto failed = [&path] {
        return ChartException(FormatMessage(ChartStrings::CannotWriteFile, {path.toStdString()}));
    };
    // Written beside the file and put in its place only when complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw failed();
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(PdfResolution);
        // A page of whole points (the format's unit) that holds the picture.
        writer.setPageSize(QPageSize(QSizeF(size.width() * 0.75, size.height() * 0.75),
                                     QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer)) {
            throw failed();
        }
        const double scale = double(PdfResolution) / TChartFont::ScreenPixelsPerInch;
        painter.scale(scale, scale);
        {
            TChartSurface surface(painter);
            DrawOntoSurface(surface, {0, 0, size.width(), size.height()});
        }
        if (!painter.end()) {
            throw failed();
        }
    }
    if (!file.commit()) {
        throw failed();
    }
}

} // namespace Korvatel
