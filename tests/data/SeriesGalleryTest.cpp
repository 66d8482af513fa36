#include "SeriesGallery.h"

#include "BarSeries.h"
#include "ChartErrors.h"
#include "FastLineSeries.h"
#include "HorizBarSeries.h"
#include "PieSeries.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> NamesOf(const TSeriesGallery& gallery) {
    std::vector<std::string> names;
    for (const TSeriesKind& kind : gallery.Kinds()) {
        names.push_back(kind.Page + "/" + kind.Name);
    }
    return names;
}

} // namespace

TEST(SeriesGallery, TheStandardKindsAreRegisteredOnFirstUseAndCreatedByName) {
    const TSeriesGallery& gallery = TSeriesGallery::Standard();
    ASSERT_FALSE(gallery.Kinds().empty());
    EXPECT_EQ(NamesOf(gallery).back(), "Standard/Fast Line");
    const auto series = gallery.CreateSeries("fast line");
    EXPECT_NE(dynamic_cast<TFastLineSeries*>(series.get()), nullptr);
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

TEST(SeriesGallery, BarsAndPieStandInGalleryOrderAndAreCreatedByName) {
    const std::vector<std::string> names = NamesOf(TSeriesGallery::Standard());
    const auto place = [&names](const std::string& name) {
        return std::find(names.begin(), names.end(), "Standard/" + name) - names.begin();
    };
    EXPECT_LT(place("Bar"), place("Horiz. Bar"));
    EXPECT_LT(place("Horiz. Bar"), place("Pie"));
    EXPECT_LT(place("Pie"), place("Fast Line"));
    const TSeriesGallery& gallery = TSeriesGallery::Standard();
    EXPECT_NE(dynamic_cast<TBarSeries*>(gallery.CreateSeries("Bar").get()), nullptr);
    EXPECT_NE(dynamic_cast<THorizBarSeries*>(gallery.CreateSeries("horiz. bar").get()), nullptr);
    EXPECT_NE(dynamic_cast<TPieSeries*>(gallery.CreateSeries("Pie").get()), nullptr);
}
