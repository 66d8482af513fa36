#pragma once

class TChart;
class TFastLineSeries;

// The main window's stored chart settings: those of Chart1 that differ from the chart's
// defaults, and Series1 with all of its settings. They are applied while the chart is marked
// as loading, so that checks depending on the order of the values stay off; the series is
// attached last, and from then on the chart owns it.
//
// Stored settings whose chart properties do not exist yet: BackWall.Brush.Color (clWhite)
// and .Style (bsClear), Foot.Color (clWhite), Title.Text ("Korvatel") and Title.Font
// ("Arial", height -13, bold, clBlue), Legend.Visible (off), LeftAxis.Increment 10 and
// LeftAxis.ExactDateTime off. They belong in ApplyStoredChartLayout as they appear.
void ApplyStoredChartLayout(TChart& chart, TFastLineSeries& series);
