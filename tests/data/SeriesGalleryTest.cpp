#include "SeriesGallery.h"

#include "AreaSeries.h"
#include "ChartErrors.h"
#include "FastLineSeries.h"
#include "PointSeries.h"

#include <gtest/gtest.h>
#include <string>
#include <typeinfo>
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
    // In gallery order, whatever other kinds stand between them.
    std::vector<std::string> ours;
    for (const std::string& name : NamesOf(gallery)) {
        if (name == "Standard/Line" || name == "Standard/Area" || name == "Standard/Point") {
            ours.push_back(name);
        }
    }
    EXPECT_EQ(ours, (std::vector<std::string>{"Standard/Line", "Standard/Area", "Standard/Point"}));
    EXPECT_EQ(NamesOf(gallery).front(), "Standard/Line");
    EXPECT_NE(dynamic_cast<TFastLineSeries*>(gallery.CreateSeries("fast line").get()), nullptr);
    EXPECT_EQ(typeid(*gallery.CreateSeries("line")), typeid(TLineSeries));
    EXPECT_NE(dynamic_cast<TAreaSeries*>(gallery.CreateSeries("Area").get()), nullptr);
    EXPECT_NE(dynamic_cast<TPointSeries*>(gallery.CreateSeries("POINT").get()), nullptr);
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
