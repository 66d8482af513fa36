// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/core/ChartTypes.h>
#include <korvatel/data/ChartValueList.h>
#include <korvatel/data/GapBuffer.h>
#include <korvatel/data/SeriesMarks.h>
#include <korvatel/data/SeriesSourceFunction.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace Korvatel {

class TCustomAxisPanel;
class TCustomChartAxis;

enum THorizAxis : std::uint8_t { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis : std::uint8_t { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// The changes of its source that a linked series follows.
struct KORVATEL_EXPORT TRefreshTriggers {
    bool Delete = true;
    bool Modify = true;
    bool Insert = true;
    bool Clear = true;

    friend bool operator==(const TRefreshTriggers&, const TRefreshTriggers&) = default;
};

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// Keys and buttons held during a mouse event, plus the double-click flag.
struct KORVATEL_EXPORT TShiftState {
    bool Shift = false;
    bool Alt = false;
    bool Ctrl = false;
    bool Left = false;
    bool Right = false;
    bool Middle = false;
    bool Double = false;
};

// What a legend entry of a point shows: its label alone, the value or the percentage before
// or after the label, or its X value.
enum TLegendTextStyle : std::uint8_t {
    ltsPlain,
    ltsLeftValue,
    ltsRightValue,
    ltsLeftPercent,
    ltsRightPercent,
    ltsXValue
};

// The base class of every series kind: the points of one data set (value lists, a colour and
// a label per point), kept in the order of the value lists, linked to a chart and its axes.
// Every change of the points or of the appearance asks the chart for a repaint; drawing
// itself is left to the concrete kinds.
class KORVATEL_EXPORT TChartSeries {
public:
    using TNotifyEvent = std::function<void(TChartSeries* sender)>;
    using TBeforeAddEvent = std::function<bool(TChartSeries* sender)>;
    using TAfterAddEvent = std::function<void(TChartSeries* sender, std::int32_t valueIndex)>;
    using TClickEvent =
        std::function<void(TChartSeries* sender, std::int32_t valueIndex, TMouseButton button,
                           TShiftState shift, std::int32_t x, std::int32_t y)>;
    using TGetMarkTextEvent =
        std::function<void(TChartSeries* sender, std::int32_t valueIndex, std::string& markText)>;

    TChartSeries();
    virtual ~TChartSeries();
    TChartSeries(const TChartSeries&) = delete;
    TChartSeries& operator=(const TChartSeries&) = delete;

    // --- Points -------------------------------------------------------------------------

    // Adds one point in the order of XValues and returns its index, or -1 when OnBeforeAdd
    // rejected it.
    virtual std::int32_t AddPoint(double x, double y, std::string_view label = {},
                                  TColor color = clDefault);
    virtual void ClearPoints();
    std::int32_t PointCount() const { return FXValues->ValueCount(); }
    virtual void DeletePoint(std::int32_t index);

    virtual std::int32_t AppendValue(double value, std::string_view label = {},
                                     TColor color = clDefault);
    std::int32_t AppendXValue(double value, std::string_view label = {}, TColor color = clDefault);
    std::int32_t AppendYValue(double value, std::string_view label = {}, TColor color = clDefault);
    virtual std::int32_t AppendNull(std::string_view label = {});
    virtual std::int32_t AddNullPoint(double x, double y, std::string_view label = {});

    virtual double PointX(std::int32_t index) const;
    virtual double PointY(std::int32_t index) const;
    double DimensionValue(bool horizontal, std::int32_t index) const;
    virtual TColor PointColor(std::int32_t index) const;
    void SetPointColor(std::int32_t index, TColor color);
    bool PointIsNull(std::int32_t index) const { return PointColor(index) == clNone; }
    virtual std::string PointLabel(std::int32_t index) const;
    virtual void SwapPoints(std::int32_t a, std::int32_t b);

    // The dependent dimension; the other list orders the points.
    virtual TChartValueList& MandatoryValues() { return *FYValues; }
    const TChartValueList& MandatoryValues() const {
        return const_cast<TChartSeries*>(this)->MandatoryValues();
    }
    bool YIsMandatory() const { return &MandatoryValues() == FYValues.get(); }
    // Among the lists after X and Y, the first named so (ignoring case); Y otherwise.
    virtual TChartValueList& ValueListNamed(std::string_view name);
    virtual void InsertExtraValues(std::int32_t index);
    virtual void ResetPendingValue(TChartValueList& list) { list.SetPendingValue(0.0); }

    TChartValueList& XValues() { return *FXValues; }
    const TChartValueList& XValues() const { return *FXValues; }
    TChartValueList& YValues() { return *FYValues; }
    const TChartValueList& YValues() const { return *FYValues; }
    const TChartValueLists& ValueLists() const { return FValueLists; }
    // Per-point colours; clDefault means none of its own.
    const TGapBuffer<TColor>& ColorList() const { return FColorList; }
    // Per-point labels; a null entry means the point has no label.
    const TGapBuffer<std::unique_ptr<std::string>>& LabelList() const { return FLabelList; }

    // --- Chart and axes -----------------------------------------------------------------

    TCustomAxisPanel* ParentChart() const { return FParentChart; }
    virtual void SetParentChart(TCustomAxisPanel* chart);
    void ResolveAxes();
    TCustomChartAxis* ResolvedHorizAxis() const { return FResolvedHorizAxis; }
    TCustomChartAxis* ResolvedVertAxis() const { return FResolvedVertAxis; }
    TCustomChartAxis* CustomHorizAxis() const { return FCustomHorizAxis; }
    void SetCustomHorizAxis(TCustomChartAxis* axis);
    TCustomChartAxis* CustomVertAxis() const { return FCustomVertAxis; }
    void SetCustomVertAxis(TCustomChartAxis* axis);

    virtual bool UsesAxes() const { return true; }
    virtual bool IsAssociatedWith(const TCustomChartAxis& axis) const;

    // The data range of the series; values that are not finite are null points and take no
    // part in it.
    virtual double SeriesMinX() const { return FXValues->FiniteMinimum(); }
    virtual double SeriesMaxX() const { return FXValues->FiniteMaximum(); }
    virtual double SeriesMinY() const { return FYValues->FiniteMinimum(); }
    virtual double SeriesMaxY() const { return FYValues->FiniteMaximum(); }
    virtual double SeriesMinZ() const { return EffectiveZOrder(); }
    virtual double SeriesMaxZ() const { return EffectiveZOrder(); }

    // Pixels the series needs beyond its data: (left, right) and (top, bottom).
    virtual void HorizontalMargins(std::int32_t& left, std::int32_t& right) const;
    virtual void VerticalMargins(std::int32_t& top, std::int32_t& bottom) const;

    virtual void PrepareChartDraw() {}
    virtual bool DrawsForward() const { return true; }
    // Draws the points FirstVisible..LastVisible, forward or backward (DrawsForward).
    virtual void DrawPoints();
    // Draws one point; the series kinds know how.
    virtual void DrawPoint(std::int32_t /*index*/) {}
    // Draws the marks of the visible points (run after the points when Marks are visible).
    virtual void DrawMarks();
    // The width and height of the biggest mark box of the points, as DrawMarks measures the
    // boxes (for series kinds that keep room for their marks); 0 and 0 without a chart. With
    // measureWidth False the width stays 0 and no text is laid out: the height needs only the
    // number of lines of each text.
    void LargestMarkBox(std::int32_t& width, std::int32_t& height, bool measureWidth = true);
    // Draws the mark of one point at the position worked out for it (a hook for series kinds
    // that move their marks).
    virtual void DrawPointMark(std::int32_t index, std::string_view text,
                               TSeriesMarkPosition& position);

    // Asks the chart, if any, for a repaint. Never draws.
    void RequestRepaint() const;
    // Every pen or brush that a series kind owns reports its changes here.
    virtual void StyleChanged() { RequestRepaint(); }

    // --- Visible range and pixels -------------------------------------------------------

    // The pixel column of point index on the resolved horizontal axis, and its row on the
    // resolved vertical axis; 0 without a chart.
    virtual std::int32_t PointPixelX(std::int32_t index) const;
    virtual std::int32_t PointPixelY(std::int32_t index) const;
    // The same mappings for a bare value: X, Y, and the mandatory dimension.
    std::int32_t XValueToPixel(double value) const;
    std::int32_t YValueToPixel(double value) const;
    std::int32_t ValueToPixel(double value) const;
    // The X value at a pixel column of the resolved horizontal axis; 0 without a chart.
    double XPixelToValue(std::int32_t pixel) const;

    // Sets FirstVisible and LastVisible for the next drawing from the range of the ordering
    // axis (the one along XValues when Y is mandatory), as of the last layout.
    void ComputeVisibleRange();
    // The visible range of the last drawing; -1 when nothing is visible.
    std::int32_t FirstVisible() const { return FFirstVisible; }
    std::int32_t LastVisible() const { return FLastVisible; }
    bool NarrowVisibleRange() const { return FNarrowVisibleRange; }
    void SetNarrowVisibleRange(bool value) { FNarrowVisibleRange = value; }
    bool KeepPointBeyondEnd() const { return FKeepPointBeyondEnd; }
    bool SinglePointAllowed() const { return FSinglePointAllowed; }
    bool OwnDepthValues() const { return FOwnDepthValues; }

    std::int32_t ZOrder() const { return FZOrder; }
    void SetZOrder(std::int32_t value);
    std::int32_t AutoZOrder() const { return FAutoZOrder; }
    void SetAutoZOrder(std::int32_t value) { FAutoZOrder = value; }
    std::int32_t StartDepth() const { return FStartDepth; }
    std::int32_t MiddleDepth() const { return FMiddleDepth; }
    std::int32_t EndDepth() const { return FEndDepth; }
    void SetDepths(std::int32_t start, std::int32_t end);

    // --- Mouse ----------------------------------------------------------------------------

    // The index of the point under a pixel of the chart, or -1. A plain series has no shape
    // to hit; the series kinds that draw one answer for it.
    virtual std::int32_t PointAtPixel(std::int32_t /*x*/, std::int32_t /*y*/) const { return -1; }
    // A press on point valueIndex: OnDblClick for a double click when assigned, else OnClick.
    // A handler that leaves the chart's cancel-mouse flag set claims the press; the answer is
    // that flag (false without a chart).
    virtual bool SeriesMouseDown(std::int32_t valueIndex, TMouseButton button, TShiftState shift,
                                 std::int32_t x, std::int32_t y);
    // Every mouse move and release over the chart; nothing to do for a plain series.
    virtual void SeriesMouseMove(TShiftState /*shift*/, std::int32_t /*x*/, std::int32_t /*y*/) {}
    virtual void SeriesMouseUp(TMouseButton /*button*/, TShiftState /*shift*/, std::int32_t /*x*/,
                               std::int32_t /*y*/) {}

    // --- Mark texts -----------------------------------------------------------------------

    // The text of a point's mark by Marks.Style, as OnGetMarkText leaves it.
    virtual std::string PointMarkText(std::int32_t index);
    // The widest mark text of all points in the canvas's current font; 0 without points or
    // without a chart.
    std::int32_t WidestMarkText();
    // The value a mark shows: the mandatory value.
    virtual double MarkValue(std::int32_t index) const { return MandatoryValues().ValueAt(index); }

    // --- Legend ---------------------------------------------------------------------------

    virtual std::int32_t LegendItemCount() const { return PointCount(); }
    virtual std::int32_t LegendItemToPoint(std::int32_t item) const { return item; }
    virtual TColor LegendColorOf(std::int32_t index) const { return PointColor(index); }
    // The legend text of a point built from its label, value and percentage.
    virtual std::string LegendEntryText(std::int32_t index, TLegendTextStyle style = ltsLeftValue);
    // Sets the canvas up for the symbol of a legend entry: the point's legend colour as a solid
    // brush and a thin black pen.
    virtual void PrepareLegendColors(std::int32_t index);
    // Draws the symbol of a legend entry into the rectangle: a box in the prepared colours.
    virtual void DrawLegendSymbol(const TRect& rect);
    virtual void PaintLegendItem(std::int32_t index, const TRect& rect);

    // --- Design tools, stacking and depth order ---------------------------------------------

    // How many points FillWithSamples makes for a preview.
    virtual std::int32_t SampleCount() const { return 26; }
    // Replaces the points by a random walk of count points across the chart's data range
    // (ChartException for a count below 1).
    virtual void FillWithSamples(std::int32_t count);
    // Restarts the random numbers of FillWithSamples, so that a test gets the same walk again.
    void SetSampleSeed(std::uint32_t seed) { FSampleRandom.seed(seed); }
    virtual void Gallery3DChanged(bool /*is3D*/) {}
    virtual void GalleryPreview() {}
    virtual std::string EditorClassName() const { return {}; }
    virtual double OriginValue(std::int32_t /*index*/) const { return 0.0; }
    virtual double StackOrigin(std::int32_t /*index*/, bool /*sumAll*/) const { return 0.0; }
    virtual bool StacksForward() const { return true; }
    // Whether this series is drawn in the same depth slot as another one.
    virtual bool SharesZOrder(const TChartSeries& /*other*/) const { return false; }
    // Takes a depth slot of the chart: the next free one when the z order is automatic (or
    // that of an earlier active series it shares with), else raises HighestZOrder to its own.
    virtual void AssignZOrder();

    // --- Data sources and linked series ---------------------------------------------------

    // The first data source, or none.
    TChartSeries* DataSource() const { return FDataSources.empty() ? nullptr : FDataSources[0]; }
    // None drops every data source and clears the points. A series needs a chart
    // ("No ParentChart to validate DataSource") and a valid source ("No valid DataSource: %s"),
    // else ChartException and the data source stays as it was.
    void SetDataSource(TChartSeries* source);
    // A source is valid when this series accepts it and it does not take its own points from
    // this series, directly or through others: links never form a cycle.
    bool IsValidDataSource(const TChartSeries* source) const;
    // Series that take their points from this one.
    const std::vector<TChartSeries*>& LinkedSeriesList() const { return FLinkedSeries; }
    const std::vector<TChartSeries*>& DataSourceList() const { return FDataSources; }
    const TRefreshTriggers& RefreshTriggers() const { return FRefreshTriggers; }
    void SetRefreshTriggers(const TRefreshTriggers& value) { FRefreshTriggers = value; }
    bool HasSourceFunction() const { return FSourceFunction != nullptr; }
    TSeriesSourceFunction* SourceFunction() const { return FSourceFunction.get(); }
    // Replaces the source function (none: plain copies) and takes the points again.
    virtual void SetSourceFunction(std::unique_ptr<TSeriesSourceFunction> function);

    virtual bool AcceptsSource(const TChartSeries* source) const { return source != this; }
    // Replaces all points by copies of the source's points.
    virtual void CopyAllFrom(TChartSeries& source);
    virtual void SourcePointAdded(TChartSeries& source, std::int32_t index);
    virtual void SourcePointDeleted(TChartSeries& source, std::int32_t index);
    // Copies one point of the source in X order and returns its index here.
    virtual std::int32_t CopyPointFrom(const TChartSeries& source, std::int32_t index);

    // The chart re-examines this series' data source (a hook for data-source components).
    void CheckDataSource();

    // Takes every setting of another series and its points, or its data sources when it has
    // any. Its source function moves over when this series has none.
    virtual void Assign(TChartSeries& source);

    // --- Properties ---------------------------------------------------------------------

    const std::string& Name() const { return FName; }
    void SetName(std::string value) { FName = std::move(value); }
    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t value) { FTag = value; }

    bool Active() const { return FActive; }
    virtual void SetActive(bool value);
    TColor SeriesColor() const { return FSeriesColor; }
    virtual void SetSeriesColor(TColor value);
    bool ColorEachPoint() const { return FColorEachPoint; }
    virtual void SetColorEachPoint(bool value);
    const std::string& ColorSource() const { return FColorSource; }
    void SetColorSource(std::string value);
    const std::string& XLabelsSource() const { return FXLabelsSource; }
    void SetXLabelsSource(std::string value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value) { FCursor = value; }
    THorizAxis HorizAxis() const { return FHorizAxis; }
    void SetHorizAxis(THorizAxis value);
    TVertAxis VertAxis() const { return FVertAxis; }
    void SetVertAxis(TVertAxis value);
    const std::string& PercentFormat() const { return FPercentFormat; }
    void SetPercentFormat(std::string value);
    const std::string& ValueFormat() const { return FValueFormat; }
    void SetValueFormat(std::string value);
    bool ShowInLegend() const { return FShowInLegend; }
    void SetShowInLegend(bool value);
    // In 3D the faces of the series' solids that do not face the viewer are drawn in darker
    // shades of their colour (SolidShading.h); off, every face takes the colour as it is.
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool value);
    const std::string& Title() const { return FTitle; }
    void SetTitle(std::string value);
    // The series as the chart names it (legend, depth axis): its Title, else its Name, else
    // "Series " followed by the number the caller gives it.
    std::string TitleOrName(std::int32_t number) const;
    // Kept with the stored layout only.
    const std::string& Identifier() const { return FIdentifier; }
    void SetIdentifier(std::string value) { FIdentifier = std::move(value); }
    std::uint8_t StyleFlags() const { return FStyleFlags; }
    void SetStyleFlags(std::uint8_t value) { FStyleFlags = value; }
    TSeriesMarks& Marks() { return *FMarks; }
    const TSeriesMarks& Marks() const { return *FMarks; }
    void SetMarks(const TSeriesMarks& value) { FMarks->Assign(value); }

    // --- Events -------------------------------------------------------------------------

    TNotifyEvent AfterDrawValues;
    TNotifyEvent BeforeDrawValues;
    TAfterAddEvent OnAfterAdd;
    TBeforeAddEvent OnBeforeAdd;
    TNotifyEvent OnClearValues;
    TClickEvent OnClick;
    TClickEvent OnDblClick;
    TGetMarkTextEvent OnGetMarkText;

    void FireBeforeDrawValues();
    void FireAfterDrawValues();

    // --- Value-list callbacks -----------------------------------------------------------

    // Called by a value list of this series.
    void RegisterValueList(TChartValueList* list) { FValueLists.Add(list); }
    void ValueModified(std::int32_t index);
    void ValueListRescaled();

protected:
    enum class TSeriesChange { Clear, Insert, Delete, Modify, Refresh };

    // After a point was stored: events, linked series and the repaint request.
    virtual void PointAdded(std::int32_t index);
    // Empties every per-point list.
    virtual void EmptyAllLists();
    void NotifyLinkedSeries(TSeriesChange change, std::int32_t index) {
        if (!FLinkedSeries.empty()) {
            NotifyEachLinkedSeries(change, index);
        }
    }
    double EffectiveZOrder() const { return FZOrder == -1 ? FAutoZOrder : FZOrder; }

    std::int32_t FFirstVisible = -1;
    std::int32_t FLastVisible = -1;
    bool FNarrowVisibleRange = true;
    bool FKeepPointBeyondEnd = false;
    bool FSinglePointAllowed = true;
    bool FOwnDepthValues = false;

private:
    friend class TCustomAxisPanel;

    void InsertPointEntries(std::int32_t index, TColor color, std::string_view label);
    void NotifyEachLinkedSeries(TSeriesChange change, std::int32_t index);
    void LinkTo(TChartSeries* source);
    void UnlinkFrom(TChartSeries* source);
    void UnlinkAllSources();
    // Ends every data link of the series, both to its sources and to its followers.
    void BreakDataLinks();
    void TakePointsFromSource();
    void CopyPointsOf(const TChartSeries& source);
    std::int32_t InsertCopiedPoint(const TChartSeries& source, std::int32_t index, bool stored);
    std::string ValueText(double value) const;
    std::string PercentText(std::int32_t index) const;
    std::string PercentTotalText(std::int32_t index) const;
    std::string XValueText(std::int32_t index) const;

    std::string FName;
    std::intptr_t FTag = 0;
    bool FActive = true;
    TColor FSeriesColor = clDefault;
    bool FColorEachPoint = false;
    TGapBuffer<TColor> FColorList;
    std::string FColorSource;
    TCursor FCursor = crDefault;
    std::vector<TChartSeries*> FDataSources;
    TCustomChartAxis* FResolvedHorizAxis = nullptr;
    TCustomChartAxis* FResolvedVertAxis = nullptr;
    std::string FXLabelsSource;
    std::vector<TChartSeries*> FLinkedSeries;
    std::unique_ptr<TSeriesMarks> FMarks;
    TCustomAxisPanel* FParentChart = nullptr;
    std::string FPercentFormat;
    bool FShowInLegend = true;
    bool FDark3D = true;
    std::string FTitle;
    std::string FValueFormat;
    TChartValueLists FValueLists;
    std::unique_ptr<TChartValueList> FXValues;
    TGapBuffer<std::unique_ptr<std::string>> FLabelList;
    std::unique_ptr<TChartValueList> FYValues;
    THorizAxis FHorizAxis = aBottomAxis;
    TCustomChartAxis* FCustomHorizAxis = nullptr;
    TCustomChartAxis* FCustomVertAxis = nullptr;
    std::int32_t FZOrder = -1;
    TVertAxis FVertAxis = aLeftAxis;
    TRefreshTriggers FRefreshTriggers;
    std::unique_ptr<TSeriesSourceFunction> FSourceFunction;
    std::string FIdentifier;
    std::uint8_t FStyleFlags = 0;
    std::minstd_rand FSampleRandom{std::random_device{}()};
    std::int32_t FAutoZOrder = 0;
    std::int32_t FStartDepth = 0;
    std::int32_t FMiddleDepth = 0;
    std::int32_t FEndDepth = 0;
};

} // namespace Korvatel
