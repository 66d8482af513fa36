// SPDX-License-Identifier: MIT
#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include "ChartImage.h"
#include <korvatel/data/FastLineSeries.h>

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

// Two charts set up alike: one may take the picture under its series from the copy its canvas
// kept, the other draws everything at every repaint. Given the same changes in the same order
// they must show the same pixels and come to the same layout.
struct TTwinCharts {
    TTwinCharts() {
        for (int i = 0; i < 2; ++i) {
            TChart& chart = Charts[i];
            chart.SetSize(420, 260);
            chart.SetColor(clWhite);
            chart.SetView3D(false);
            chart.Title().SetText({"Korvatel"});
            chart.Legend().SetVisible(false);
            chart.BottomAxis().SetAutomatic(false);
            chart.BottomAxis().SetMaximum(1000);
            chart.BottomAxis().SetMinimum(0);
            // Values, not the points' labels (which change every frame), unless a test asks.
            chart.BottomAxis().SetLabelStyle(talValue);
            chart.LeftAxis().SetAutomatic(false);
            chart.LeftAxis().SetMaximum(1000);
            chart.LeftAxis().SetMinimum(-1000);
            Series[i] = new TFastLineSeries;
            Series[i]->SetParentChart(&chart);
            Series[i]->SetSeriesColor(clRed);
        }
        Charts[1].SetReuseUnderSeries(false);
    }

    // The points of animation frame k: a wave whose height and labels change every frame.
    void Frame(int k) {
        for (TFastLineSeries* series : Series) {
            series->ClearPoints();
            for (int i = 0; i <= 100; ++i) {
                const double x = 10.0 * i;
                const double height = 400 + 37 * k;
                series->AddPoint(x, height * std::sin(std::numbers::pi * (x + 13 * k) / 250),
                                 "p" + std::to_string(i + k));
            }
        }
    }

    // Frames first to last - 1, each painted and compared.
    void Frames(int first, int last, const std::string& when) {
        for (int k = first; k < last; ++k) {
            Frame(k);
            PaintAndCompare(when + ", frame " + std::to_string(k));
        }
    }

    void Change(const std::function<void(TChart&, TFastLineSeries&)>& change) {
        for (int i = 0; i < 2; ++i) {
            change(Charts[i], *Series[i]);
        }
    }

    // Paints both and checks that they agree; returns the picture.
    QImage PaintAndCompare(const std::string& when) {
        const QImage reused = DrawChartImage(Charts[0]);
        const QImage drawn = DrawChartImage(Charts[1]);
        EXPECT_EQ(reused.size(), drawn.size()) << when;
        if (reused.size() == drawn.size()) {
            int differing = 0;
            for (int y = 0; y < drawn.height(); ++y) {
                for (int x = 0; x < drawn.width(); ++x) {
                    differing += reused.pixel(x, y) != drawn.pixel(x, y) ? 1 : 0;
                }
            }
            EXPECT_EQ(differing, 0) << when;
        }
        EXPECT_EQ(Charts[0].PlotRect(), Charts[1].PlotRect()) << when;
        for (std::size_t a = 0; a < Charts[0].AxisList().size(); ++a) {
            const TCustomChartAxis& one = *Charts[0].AxisList()[a];
            const TCustomChartAxis& other = *Charts[1].AxisList()[a];
            EXPECT_EQ(one.AxisLinePos(), other.AxisLinePos()) << when << ", axis " << a;
            EXPECT_EQ(one.LabelsPos(), other.LabelsPos()) << when << ", axis " << a;
            EXPECT_EQ(one.TickPositions(), other.TickPositions()) << when << ", axis " << a;
            EXPECT_EQ(one.PixelLength(), other.PixelLength()) << when << ", axis " << a;
        }
        return drawn;
    }

    std::uint64_t Reuses() const { return Charts[0].Canvas().BackgroundReuses(); }

    TChart Charts[2];
    TFastLineSeries* Series[2]; // owned by the charts
};

// A small picture of stripes, shifted by phase.
QImage Pattern(int width, int height, int phase) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, (x + y + phase) % 3 == 0 ? qRgb(250, 200, 0) : qRgb(0, 90, 160));
        }
    }
    return image;
}

} // namespace

TEST(UnderSeriesReuseTest, AnAnimationReusesThePictureWithTheSamePixels) {
    TTwinCharts twins;
    for (int k = 0; k < 7; ++k) {
        twins.Frame(k);
        twins.PaintAndCompare("frame " + std::to_string(k));
    }
    // The first repaint starts from the canvas's initial state (an opaque text background),
    // the second draws and the third, finding the same picture again, keeps it; every later
    // one takes the kept picture.
    EXPECT_EQ(twins.Reuses(), 4u);
    EXPECT_EQ(twins.Charts[1].Canvas().BackgroundReuses(), 0u);
}

TEST(UnderSeriesReuseTest, EveryKindOfChangeUnderTheSeriesIsSeen) {
    struct TCase {
        const char* Name;
        std::function<void(TChart&, TFastLineSeries&)> Change;
        // Whether the picture under the series is the same again from one frame to the next
        // after the change, so that the kept copy comes back into use.
        bool SettlesAgain;
    };
    const TCase cases[] = {
        {"title text", [](TChart& c, TFastLineSeries&) { c.Title().SetText({"Other"}); }, true},
        {"grid colour", [](TChart& c, TFastLineSeries&) { c.LeftAxis().Grid().SetColor(clBlue); },
         true},
        {"label font", [](TChart& c, TFastLineSeries&) { c.BottomAxis().LabelsFont().SetSize(11); },
         true},
        {"panel size", [](TChart& c, TFastLineSeries&) { c.SetSize(400, 250); }, true},
        {"panel colour", [](TChart& c, TFastLineSeries&) { c.SetColor(clYellow); }, true},
        {"gradient", [](TChart& c, TFastLineSeries&) { c.Gradient().SetVisible(true); }, true},
        {"margins", [](TChart& c, TFastLineSeries&) { c.SetMarginLeft(10); }, true},
        {"fixed range, as a zoom sets it",
         [](TChart& c, TFastLineSeries&) { c.BottomAxis().SetMaximum(500); }, true},
        {"axis hidden", [](TChart& c, TFastLineSeries&) { c.LeftAxis().SetVisible(false); }, true},
        // The range follows the wave's height, which changes every frame.
        {"automatic range", [](TChart& c, TFastLineSeries&) { c.LeftAxis().SetAutomatic(true); },
         false},
        // The points' labels change every frame.
        {"series labels on the axis",
         [](TChart& c, TFastLineSeries&) { c.BottomAxis().SetLabelStyle(talText); }, false},
        {"paging",
         [](TChart& c, TFastLineSeries&) {
             c.BottomAxis().SetAutomatic(true);
             c.SetMaxPointsPerPage(30);
             c.SetPage(2);
         },
         true},
        {"3D", [](TChart& c, TFastLineSeries&) { c.SetView3D(true); }, true},
        {"anti-aliasing", [](TChart& c, TFastLineSeries&) { c.SetAntialiasing(true); }, true},
        {"rubber band of a zoom in progress",
         [](TChart& c, TFastLineSeries&) {
             c.Zoom().Start(100, 60);
             c.Zoom().CurrentX = 200;
             c.Zoom().CurrentY = 150;
         },
         true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTwinCharts twins;
        int k = 0;
        for (; k < 4; ++k) {
            twins.Frame(k);
            twins.PaintAndCompare("before");
        }
        ASSERT_EQ(twins.Reuses(), 1u);
        // The same points before and after the change: the picture must show the change.
        const QImage before = twins.PaintAndCompare("again before");
        twins.Change(c.Change);
        EXPECT_NE(twins.PaintAndCompare("just after"), before);
        for (int i = 0; i < 3; ++i, ++k) {
            twins.Frame(k);
            twins.PaintAndCompare("after, frame " + std::to_string(k));
        }
        if (c.SettlesAgain) {
            EXPECT_GT(twins.Reuses(), 2u);
        } else {
            EXPECT_EQ(twins.Reuses(), 2u);
        }
    }
}

TEST(UnderSeriesReuseTest, LabelEventsTurnTheReuseOff) {
    // A handler may answer differently every time it is asked, and a pass that is run again
    // would ask it twice: with one set, everything is drawn.
    TTwinCharts twins;
    int calls[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        twins.Charts[i].OnGetAxisLabel = [&calls, i](TCustomChartAxis*, TChartSeries*, std::int32_t,
                                                     std::string& text) {
            text += "/" + std::to_string(calls[i]++ / 40);
        };
    }
    for (int k = 0; k < 6; ++k) {
        twins.Frame(k);
        twins.PaintAndCompare("frame " + std::to_string(k));
    }
    EXPECT_EQ(twins.Reuses(), 0u);
    EXPECT_EQ(calls[0], calls[1]);
    // Without the handler it comes back.
    twins.Change([](TChart& c, TFastLineSeries&) { c.OnGetAxisLabel = nullptr; });
    twins.Frames(0, 4, "without the handler");
    EXPECT_EQ(twins.Reuses(), 2u);
}

TEST(UnderSeriesReuseTest, WhatWasDrawnBetweenRepaintsDoesNotStay) {
    // The rubber band is drawn onto the kept image between repaints; the next repaint covers it
    // as a full drawing would.
    TTwinCharts twins;
    twins.Frames(0, 4, "frame");
    const QImage withoutBand = twins.Charts[0].Canvas().Bitmap()->copy();
    twins.Change([](TChart& c, TFastLineSeries&) {
        c.Canvas().TargetSurface()->EndPainting();
        c.Zoom().Start(50, 50);
        c.Zoom().CurrentX = 300;
        c.Zoom().CurrentY = 200;
        c.DrawZoomRectangle();
        c.Zoom().DragActive = false;
        c.Canvas().TargetSurface()->EndPainting();
    });
    EXPECT_NE(*twins.Charts[0].Canvas().Bitmap(), withoutBand) << "the band is on the image";
    twins.Frame(9);
    twins.PaintAndCompare("after the band");
    // The band left the canvas's pen in not-xor, so this repaint's calls differ from the kept
    // ones and it draws everything; the next ones take the kept picture again.
    EXPECT_EQ(twins.Reuses(), 1u);
    twins.Frames(10, 13, "later");
    EXPECT_EQ(twins.Reuses(), 2u);
}

TEST(UnderSeriesReuseTest, APictureIsKeptOnlyWhenItsFirstCallCoversTheImage) {
    // Drawn straight onto the canvas: the record of a pass that starts with a fill of part of
    // the image does not tell what the rest shows, so nothing is kept.
    TChart chart;
    chart.SetSize(60, 40);
    DrawChartImage(chart); // creates the off-screen image
    TChartCanvas3D& canvas = chart.Canvas();
    QImage window(60, 40, QImage::Format_RGB32);
    TChartSurface surface(window);
    for (const bool whole : {false, true}) {
        canvas.ForgetBackground();
        for (int pass = 0; pass < 2; ++pass) {
            canvas.BeginDrawing(surface, nullptr, {0, 0, 60, 40}, false);
            canvas.BeginBackground(false, true);
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(clTeal);
            canvas.FillRectangle(whole ? TRect{0, 0, 60, 40} : TRect{0, 0, 59, 40});
            canvas.Pen().SetColor(clBlue);
            canvas.DrawHorizontalLine(2, 50, 20);
            canvas.EndBackground();
            canvas.PresentBuffer(surface, {0, 0, 60, 40});
        }
        EXPECT_EQ(canvas.BackgroundKept(), whole);
        EXPECT_EQ(canvas.CanVerifyBackground(), whole);
    }
    // A verifying pass with another pen colour finds a different record and draws nothing.
    canvas.BeginDrawing(surface, nullptr, {0, 0, 60, 40}, false);
    canvas.BeginBackground(true, true);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clTeal);
    canvas.FillRectangle({0, 0, 60, 40});
    canvas.Pen().SetColor(clRed);
    canvas.DrawHorizontalLine(2, 50, 20);
    EXPECT_FALSE(canvas.EndBackground());
    EXPECT_FALSE(canvas.BackgroundKept());
    canvas.PresentBuffer(surface, {0, 0, 60, 40});
}

TEST(UnderSeriesReuseTest, AZoomDragOverARunningAnimationShowsTheSamePixels) {
    // The band is drawn by the mouse between repaints and by every repaint while the drag lasts;
    // the frames go on underneath, and the drag ends in a zoom.
    TTwinCharts twins;
    twins.Frames(0, 3, "before the drag");
    twins.Change([](TChart& c, TFastLineSeries&) { c.MouseDown(mbLeft, {}, 100, 80); });
    for (int k = 3; k < 9; ++k) {
        twins.Change(
            [k](TChart& c, TFastLineSeries&) { c.MouseMove({}, 120 + 20 * k, 90 + 9 * k); });
        twins.Frame(k);
        twins.PaintAndCompare("during the drag, frame " + std::to_string(k));
    }
    twins.Change([](TChart& c, TFastLineSeries&) { c.MouseUp(mbLeft, {}, 300, 170); });
    for (int k = 9; k < 13; ++k) {
        twins.Frame(k);
        twins.PaintAndCompare("after the zoom, frame " + std::to_string(k));
    }
    EXPECT_NE(twins.Charts[0].BottomAxis().Minimum(), 0.0) << "the drag zoomed";
}

TEST(UnderSeriesReuseTest, APictureIsKnownByItsPixels) {
    // The same size and place, other pixels: the kept picture must not come back.
    TTwinCharts twins;
    twins.Change([](TChart& c, TFastLineSeries&) {
        c.SetBackImage(Pattern(7, 5, 0));
        c.SetBackImageMode(pbmTile);
    });
    twins.Frames(0, 4, "first picture");
    twins.Change([](TChart& c, TFastLineSeries&) { c.SetBackImage(Pattern(7, 5, 1)); });
    twins.Frames(4, 6, "second picture");
    // A picture drawn over the chart after the series is gone at the next repaint.
    const QImage logo = Pattern(30, 20, 2);
    bool once = true;
    twins.Change([&](TChart& c, TFastLineSeries&) {
        c.OnAfterDraw = [&logo, &once](TCustomAxisPanel* sender) {
            if (once) {
                sender->Canvas().DrawImage({5, 5, 35, 25}, logo, pbmStretch);
            }
        };
    });
    twins.Frames(6, 7, "with the logo");
    once = false;
    twins.Frames(7, 9, "without the logo");
    EXPECT_GT(twins.Reuses(), 3u);
}

TEST(UnderSeriesReuseTest, TheLegendTextEventTurnsTheReuseOff) {
    TTwinCharts twins;
    int calls[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        twins.Charts[i].Legend().SetVisible(true);
        twins.Charts[i].Legend().SetLegendStyle(lsSeries);
        twins.Charts[i].OnGetLegendText = [&calls, i](TCustomChart*, TLegendStyle, std::int32_t,
                                                      std::string& text) {
            text += "!";
            ++calls[i];
        };
    }
    twins.Frames(0, 5, "frame");
    EXPECT_EQ(twins.Reuses(), 0u);
    EXPECT_EQ(calls[0], calls[1]);
}
