// SPDX-License-Identifier: MIT
#include <korvatel/render/Chart.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/ChartSeries.h>
#include "CountingWindow.h"
#include <korvatel/data/FastLineSeries.h>

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

using namespace Korvatel;

namespace {

// X, Y, label and stored colour of every point.
using Point = std::tuple<double, double, std::string, TColor>;

std::vector<Point> PointsOf(const TChartSeries& series) {
    std::vector<Point> result;
    for (std::int32_t i = 0; i < series.PointCount(); ++i) {
        const TColor color = static_cast<std::size_t>(i) < series.ColorList().size()
                                 ? series.ColorList()[static_cast<std::size_t>(i)]
                                 : clDefault;
        result.emplace_back(series.PointX(i), series.PointY(i), series.PointLabel(i), color);
    }
    return result;
}

// The message of the ChartException that the call raises; empty when it raises none.
template <typename Call>
std::string ChartError(Call&& call) {
    try {
        call();
    } catch (const ChartException& error) {
        return error.what();
    }
    return {};
}

// A chart with a source series and a series that follows it.
struct Linked : ::testing::Test {
    Linked() {
        chart.SetWindow(&window);
        source = NewSeries("Source");
        follower = NewSeries("Follower");
    }

    TChartSeries* NewSeries(const std::string& name) {
        auto* series = new TChartSeries;
        series->SetName(name);
        series->SetParentChart(&chart);
        return series;
    }

    TCountingWindow window;
    TChart chart;
    TChartSeries* source; // owned by the chart
    TChartSeries* follower;
};

// Each point of the source becomes two points: its value and its double.
class TDoubling final : public TSeriesSourceFunction {
public:
    void AddPoints(TChartSeries& series, TChartSeries& source) override {
        ++Calls;
        for (std::int32_t i = 0; i < source.PointCount(); ++i) {
            series.AddPoint(source.PointX(i), source.PointY(i));
            series.AddPoint(source.PointX(i), 2 * source.PointY(i));
        }
    }
    int Calls = 0;
};

} // namespace

TEST_F(Linked, SettingTheSourceCopiesItsPointsAndRecordsTheLink) {
    source->AddPoint(2, 20, "b", clBlue);
    source->AddPoint(1, 10);
    follower->SetDataSource(source);
    EXPECT_EQ(follower->DataSource(), source);
    EXPECT_EQ(source->LinkedSeriesList(), std::vector<TChartSeries*>{follower});
    EXPECT_EQ(PointsOf(*follower), PointsOf(*source));

    window.Invalidations = 0;
    follower->SetDataSource(source); // the same source again changes nothing
    EXPECT_EQ(window.Invalidations, 0);
}

TEST_F(Linked, AFollowerTracksInsertsDeletesAndClears) {
    follower->SetDataSource(source);
    source->AddPoint(5, 50, "five", clRed);
    source->AddPoint(1, 10);
    source->AddPoint(3, 30, "three");
    EXPECT_EQ(PointsOf(*follower), PointsOf(*source));
    source->DeletePoint(1);
    EXPECT_EQ(PointsOf(*follower), PointsOf(*source));
    ASSERT_EQ(follower->PointCount(), 2);

    int cleared = 0;
    follower->OnClearValues = [&](TChartSeries*) { ++cleared; };
    source->ClearPoints();
    EXPECT_EQ(follower->PointCount(), 0);
    EXPECT_EQ(cleared, 1);
    follower->OnClearValues = nullptr; // the chart clears its series once more as it ends
}

TEST_F(Linked, TriggersChooseWhatAFollowerFollows) {
    follower->SetDataSource(source);
    follower->SetRefreshTriggers(
        {.Delete = false, .Modify = true, .Insert = false, .Clear = false});
    source->AddPoint(1, 10);
    source->AddPoint(2, 20);
    EXPECT_EQ(follower->PointCount(), 0); // insertions ignored

    source->YValues().SetMultiplier(2); // a rescaled list refreshes every follower
    EXPECT_EQ(PointsOf(*follower), PointsOf(*source));
    source->DeletePoint(0);
    source->ClearPoints();
    EXPECT_EQ(follower->PointCount(), 2); // neither deletions nor clears followed
}

TEST_F(Linked, AFollowerOfModificationsAloneCopiesAModifiedPoint) {
    source->AddPoint(1, 10);
    source->AddPoint(2, 20);
    follower->SetDataSource(source);
    follower->SetRefreshTriggers(
        {.Delete = false, .Modify = true, .Insert = false, .Clear = false});
    source->AddPoint(3, 30); // not followed
    ASSERT_EQ(follower->PointCount(), 2);
    source->YValues().SetValueAt(0, 15);
    EXPECT_EQ(PointsOf(*follower), PointsOf(*source));
}

TEST(LinkedSeriesTest, ASeriesNobodyFollowsNotifiesNobody) {
    TChart chart;
    auto* source = new TChartSeries;
    auto* former = new TChartSeries;
    source->SetParentChart(&chart);
    former->SetParentChart(&chart);
    former->SetDataSource(source);
    former->SetDataSource(nullptr);
    EXPECT_TRUE(source->LinkedSeriesList().empty());
    int cleared = 0;
    former->OnClearValues = [&](TChartSeries*) { ++cleared; };
    source->AddPoint(1, 1);
    source->DeletePoint(0);
    source->ClearPoints();
    EXPECT_EQ(former->PointCount(), 0);
    EXPECT_EQ(cleared, 0);
    former->OnClearValues = nullptr; // the chart clears its series once more as it ends
}

TEST_F(Linked, FollowersOfFollowersFollowToo) {
    TChartSeries* second = NewSeries("Second");
    follower->SetDataSource(source);
    second->SetDataSource(follower);
    source->AddPoint(1, 1, "a");
    source->AddPoint(0, 2);
    source->DeletePoint(1);
    EXPECT_EQ(PointsOf(*second), PointsOf(*source));
    source->ClearPoints();
    EXPECT_EQ(second->PointCount(), 0);
}

TEST_F(Linked, ASourceFunctionComputesInsteadOfCopying) {
    source->AddPoint(1, 10);
    follower->SetDataSource(source);
    auto function = std::make_unique<TDoubling>();
    TDoubling* doubling = function.get();
    follower->SetSourceFunction(std::move(function));
    EXPECT_TRUE(follower->HasSourceFunction());
    EXPECT_EQ(follower->PointCount(), 2);

    source->AddPoint(2, 20); // no single copy: the function computes on a refresh
    EXPECT_EQ(follower->PointCount(), 2);
    source->YValues().SetMultiplier(1.5);
    EXPECT_EQ(follower->PointCount(), 4);
    EXPECT_EQ(follower->PointY(3), 60);
    EXPECT_GE(doubling->Calls, 2);
}

TEST_F(Linked, RefusedSourcesLeaveTheOldOneInPlace) {
    TChartSeries* other = NewSeries("Other");
    follower->SetDataSource(source);

    EXPECT_EQ(ChartError([&] { follower->SetDataSource(follower); }),
              "No valid DataSource: Follower");
    EXPECT_EQ(ChartError([&] { source->SetDataSource(follower); }),
              "No valid DataSource: Follower"); // a direct loop
    other->SetDataSource(follower);
    EXPECT_EQ(ChartError([&] { source->SetDataSource(other); }),
              "No valid DataSource: Other"); // a loop through a third series
    EXPECT_EQ(follower->DataSource(), source);
    EXPECT_EQ(source->DataSource(), nullptr);

    TChartSeries alone;
    EXPECT_EQ(ChartError([&] { alone.SetDataSource(source); }),
              "No ParentChart to validate DataSource");
    EXPECT_EQ(alone.DataSource(), nullptr);
    EXPECT_EQ(source->LinkedSeriesList(), std::vector<TChartSeries*>{follower});

    // The loops were refused, so a change runs through the chain once and ends.
    source->AddPoint(1, 1);
    EXPECT_EQ(other->PointCount(), 1);
}

TEST_F(Linked, DroppingTheSourceClearsTheFollower) {
    source->AddPoint(1, 1);
    follower->SetDataSource(source);
    window.Invalidations = 0;
    follower->SetDataSource(nullptr);
    EXPECT_EQ(follower->PointCount(), 0);
    EXPECT_TRUE(source->LinkedSeriesList().empty());
    EXPECT_GT(window.Invalidations, 0);
    source->AddPoint(2, 2);
    EXPECT_EQ(follower->PointCount(), 0);
}

TEST_F(Linked, DestroyingEitherEndLeavesNoLinkBehind) {
    follower->SetDataSource(source);
    TChartSeries* second = NewSeries("Second");
    second->SetDataSource(source);
    delete follower;
    EXPECT_EQ(source->LinkedSeriesList(), std::vector<TChartSeries*>{second});
    source->AddPoint(1, 1); // would reach the destroyed series if it were still listed
    EXPECT_EQ(second->PointCount(), 1);
    delete source;
    EXPECT_TRUE(second->DataSourceList().empty());
    second->AddPoint(2, 2);
}

TEST_F(Linked, LeavingTheChartEndsTheLinksToItsSourcesOnly) {
    TChartSeries* second = NewSeries("Second");
    follower->SetDataSource(source);
    second->SetDataSource(follower);
    source->AddPoint(1, 1);

    TChart other;
    follower->SetParentChart(&other); // leaves its source, keeps its points
    EXPECT_TRUE(follower->DataSourceList().empty());
    EXPECT_TRUE(source->LinkedSeriesList().empty());
    EXPECT_EQ(follower->PointCount(), 1);
    source->AddPoint(2, 2);
    EXPECT_EQ(follower->PointCount(), 1);
    // The series that follows the leaving one still does, until the leaving one is destroyed
    // with its new chart.
    EXPECT_EQ(second->DataSource(), follower);
    follower->AddPoint(3, 3);
    EXPECT_EQ(second->PointCount(), 2);
}

TEST_F(Linked, AFollowerThatStopsFollowingMidwayIsLeftOut) {
    TChartSeries* second = NewSeries("Second");
    follower->SetDataSource(source);
    second->SetDataSource(source);
    // The first follower destroys the second while it follows an insertion.
    follower->OnAfterAdd = [&](TChartSeries*, std::int32_t) {
        delete second;
        second = nullptr;
    };
    source->AddPoint(1, 1);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(follower->PointCount(), 1);
}

TEST_F(Linked, CopyAllFromRefusesItselfAndRefreshesItsOwnFollowers) {
    TChartSeries* second = NewSeries("Second");
    second->SetDataSource(follower);
    source->AddPoint(1, 1);
    source->AddPoint(2, 2);
    follower->CopyAllFrom(*source);
    EXPECT_EQ(PointsOf(*follower), PointsOf(*source));
    EXPECT_EQ(PointsOf(*second), PointsOf(*source));
    follower->CopyAllFrom(*follower);
    EXPECT_EQ(follower->PointCount(), 2);
}

TEST_F(Linked, AFollowerWithMandatoryXSwapsTheDimensions) {
    // A series kind whose X values are the dependent dimension, as a horizontal bar has.
    class THorizontal final : public TChartSeries {
    public:
        TChartValueList& MandatoryValues() override { return XValues(); }
    };
    auto* sideways = new THorizontal;
    sideways->SetParentChart(&chart);
    sideways->XValues().SetOrder(loNone);
    sideways->YValues().SetOrder(loAscending);
    source->AddPoint(1, 30);
    source->AddPoint(2, 10);
    sideways->CopyAllFrom(*source);
    ASSERT_EQ(sideways->PointCount(), 2);
    EXPECT_EQ(sideways->PointX(0), 30);
    EXPECT_EQ(sideways->PointY(0), 1);
    EXPECT_EQ(sideways->PointX(1), 10);
}

// --- Copy from another series -------------------------------------------------------------

TEST_F(Linked, AssignTakesTheSettingsAndThePoints) {
    source->SetTag(7);
    source->SetSeriesColor(clBlue);
    source->SetColorEachPoint(true);
    source->SetTitle("Wave");
    source->SetValueFormat("0.0");
    source->SetPercentFormat("0 %");
    source->SetActive(false);
    source->SetHorizAxis(aTopAxis);
    source->SetVertAxis(aRightAxis);
    source->SetRefreshTriggers({.Delete = false, .Modify = false, .Insert = true, .Clear = true});
    source->SetCursor(3);
    source->SetShowInLegend(false);
    source->SetStyleFlags(5);
    source->SetIdentifier("id");
    source->Marks().SetStyle(smsPercent);
    source->YValues().SetMultiplier(2);
    source->AddPoint(2, 20, "b", clRed);
    source->AddPoint(1, 10);

    TChartSeries* second = NewSeries("Second");
    second->SetDataSource(follower);
    follower->Assign(*source);
    EXPECT_EQ(follower->Tag(), 7);
    EXPECT_EQ(follower->SeriesColor(), clBlue);
    EXPECT_TRUE(follower->ColorEachPoint());
    EXPECT_EQ(follower->Title(), "Wave");
    EXPECT_EQ(follower->ValueFormat(), "0.0");
    EXPECT_EQ(follower->PercentFormat(), "0 %");
    EXPECT_FALSE(follower->Active());
    EXPECT_EQ(follower->ResolvedHorizAxis(), &chart.TopAxis());
    EXPECT_EQ(follower->ResolvedVertAxis(), &chart.RightAxis());
    EXPECT_EQ(follower->RefreshTriggers(), source->RefreshTriggers());
    EXPECT_EQ(follower->Cursor(), 3);
    EXPECT_FALSE(follower->ShowInLegend());
    EXPECT_EQ(follower->StyleFlags(), 5);
    EXPECT_EQ(follower->Identifier(), "id");
    EXPECT_EQ(follower->Marks().Style(), smsPercent);
    EXPECT_EQ(follower->YValues().Multiplier(), 2);
    EXPECT_EQ(follower->Name(), "Follower"); // a name is not a setting
    EXPECT_EQ(PointsOf(*follower), PointsOf(*source));
    EXPECT_EQ(PointsOf(*second), PointsOf(*source)); // its own follower was refreshed
    EXPECT_TRUE(source->LinkedSeriesList().empty()); // copied, not linked
}

TEST_F(Linked, AssignTakesTheDataSourcesAndTheFunction) {
    TChartSeries* origin = NewSeries("Origin");
    origin->AddPoint(1, 1);
    origin->AddPoint(2, 2);
    source->SetDataSource(origin);
    source->SetSourceFunction(std::make_unique<TDoubling>());
    follower->AddPoint(9, 9);

    follower->Assign(*source);
    EXPECT_EQ(follower->DataSource(), origin);
    EXPECT_TRUE(follower->HasSourceFunction());
    EXPECT_FALSE(source->HasSourceFunction()); // moved over
    EXPECT_EQ(follower->PointCount(), 4);      // computed from the origin
    origin->ClearPoints();
    EXPECT_EQ(follower->PointCount(), 0);
}

TEST_F(Linked, AssignFromOwnFollowerKeepsThePoints) {
    source->AddPoint(1, 10, "a");
    source->AddPoint(2, 20);
    follower->SetDataSource(source);
    const std::vector<Point> before = PointsOf(*source);
    // The follower's source is the series itself, which it never takes; and emptying the
    // series must not empty the follower before its points are copied.
    source->Assign(*follower);
    EXPECT_EQ(source->DataSource(), nullptr);
    EXPECT_EQ(follower->DataSource(), source);
    EXPECT_EQ(PointsOf(*source), before);
    EXPECT_EQ(PointsOf(*follower), before);
}

TEST(FastLineSeriesTest, AssignHandsOverThePenAndAutoRepaint) {
    TFastLineSeries from;
    from.SetAutoRepaint(false);
    from.LinePen().SetWidth(3);
    from.SetSeriesColor(clGreen);
    from.AddPoint(1, 1);
    TFastLineSeries to;
    to.Assign(from);
    EXPECT_FALSE(to.AutoRepaint());
    EXPECT_EQ(to.LinePen().Width(), 3);
    EXPECT_EQ(to.LinePen().Color(), clGreen);
    EXPECT_EQ(to.PointCount(), 1);

    TChartSeries plain; // from a plain series only the common settings come
    plain.SetSeriesColor(clBlue);
    to.Assign(plain);
    EXPECT_EQ(to.LinePen().Width(), 3);
    EXPECT_EQ(to.LinePen().Color(), clBlue);
    EXPECT_EQ(to.PointCount(), 0);
}
