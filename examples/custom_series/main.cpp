// SPDX-License-Identifier: MIT
// A series kind of the program's own, registered in the engine's gallery beside the standard
// kinds, made by name like them, and drawn into stems.png in the current folder.
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/data/SeriesGallery.h>
#include <korvatel/render/Chart.h>

#include <QGuiApplication>
#include <algorithm>
#include <memory>

namespace {

// A stem plot: each value a line from zero to the value, ending in a dot.
class TStemSeries final : public Korvatel::TChartSeries {
public:
    // The stems start at zero, so zero is always in the range of the values.
    double SeriesMinY() const override { return std::min(0.0, TChartSeries::SeriesMinY()); }
    double SeriesMaxY() const override { return std::max(0.0, TChartSeries::SeriesMaxY()); }

    void DrawPoint(std::int32_t index) override {
        Korvatel::TChartCanvas3D& canvas = ParentChart()->Canvas();
        const Korvatel::TColor color = PointColor(index);
        const std::int32_t x = PointPixelX(index);
        const std::int32_t y = PointPixelY(index);
        canvas.Pen().SetColor(color);
        canvas.Brush().SetColor(color);
        canvas.MovePenTo(x, YValueToPixel(0.0));
        canvas.DrawLineTo(x, y);
        canvas.DrawEllipse(x - 4, y - 4, x + 5, y + 5);
    }
};

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);

    Korvatel::TSeriesGallery& gallery = Korvatel::TSeriesGallery::Standard();
    gallery.RegisterSeries("Examples", "Stem", [] { return std::make_unique<TStemSeries>(); });

    Korvatel::TChart chart;
    chart.SetView3D(false);
    chart.Title().SetText({"A kind of the program's own"});
    chart.Legend().SetVisible(false);
    Korvatel::TChartSeries* stems = gallery.CreateSeries("Stem").release();
    chart.AddSeries(stems); // the chart owns it from here on
    stems->FillWithSamples(stems->SampleCount());
    return chart.DrawToImage(400, 300).save("stems.png") ? 0 : 1;
}
