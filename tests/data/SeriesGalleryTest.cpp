// SPDX-License-Identifier: MIT
#include <korvatel/data/SeriesGallery.h>

#include <korvatel/data/AreaSeries.h>
#include <korvatel/data/BarSeries.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/FastLineSeries.h>
#include <korvatel/data/HorizBarSeries.h>
#include <korvatel/data/LineSeries.h>
#include <korvatel/data/PieSeries.h>
#include <korvatel/data/PointSeries.h>

#include <gtest/gtest.h>
#include <string>
#include <typeinfo>
#include <vector>

using namespace Korvatel;

namespace {

std::vector<std::string> NamesOf(const TSeriesGallery& gallery) {
    std::vector<std::string> names;
    for (const TSeriesKind& kind : gallery.Kinds()) {
        names.push_back(kind.Page + "/" + kind.Name);
    }
    return names;
}

} // namespace

TEST(SeriesGallery, TheStandardKindsAreRegisteredInGalleryOrderAndCreatedByName) {
    const TSeriesGallery& gallery = TSeriesGallery::Standard();
    EXPECT_EQ(NamesOf(gallery),
              (std::vector<std::string>{"Standard/Line", "Standard/Bar", "Standard/Horiz. Bar",
                                        "Standard/Area", "Standard/Point", "Standard/Pie",
                                        "Standard/Fast Line"}));
    // Names are found whatever their case, and each makes a series of its own kind.
    EXPECT_EQ(typeid(*gallery.CreateSeries("line")), typeid(TLineSeries));
    EXPECT_EQ(typeid(*gallery.CreateSeries("BAR")), typeid(TBarSeries));
    EXPECT_EQ(typeid(*gallery.CreateSeries("horiz. bar")), typeid(THorizBarSeries));
    EXPECT_EQ(typeid(*gallery.CreateSeries("Area")), typeid(TAreaSeries));
    EXPECT_EQ(typeid(*gallery.CreateSeries("Point")), typeid(TPointSeries));
    EXPECT_EQ(typeid(*gallery.CreateSeries("Pie")), typeid(TPieSeries));
    EXPECT_EQ(typeid(*gallery.CreateSeries("Fast Line")), typeid(TFastLineSeries));
}

TEST(SeriesGallery, UserKindsFollowInOrderAndNamesAreUnique) {
    TSeriesGallery gallery;
    RegisterStandardSeries(gallery);
    const std::size_t standard = gallery.Kinds().size();
    gallery.RegisterSeries("Mine", "Steps", [] { return std::make_unique<TChartSeries>(); });
    EXPECT_EQ(NamesOf(gallery).back(), "Mine/Steps");
    EXPECT_THROW(gallery.RegisterSeries("Other", "STEPS", [] { return nullptr; }), ChartException);
    EXPECT_THROW(gallery.RegisterSeries("", "Empty page", [] { return nullptr; }), ChartException);
    EXPECT_THROW(gallery.RegisterSeries("Mine", "No factory", {}), ChartException);
    EXPECT_THROW(gallery.CreateSeries("Bubble"), ChartException);
    EXPECT_TRUE(gallery.UnregisterSeries("steps"));
    EXPECT_FALSE(gallery.UnregisterSeries("steps"));
    EXPECT_EQ(gallery.Kinds().size(), standard);
}
