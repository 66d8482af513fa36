// SPDX-License-Identifier: MIT
#pragma once

// The sweep of column runs into rows that TPixelLine's chains share at every scale. Part of
// the line routine, not of the engine's interface.

#include <korvatel/core/Export.h>
#include <korvatel/canvas/PixelLine.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>

namespace Korvatel {
#endif

namespace PixelLineDetail {

// Pixels left..right of a scan line, four to a store where the processor has 16-byte stores.
inline void FillStretch(QRgb* line, std::int32_t left, std::int32_t right, QRgb color) {
    QRgb* at = line + left;
    QRgb* const end = line + right + 1;
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(color));
    for (; end - at >= 4; at += 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), four);
    }
#endif
    for (; at < end; ++at) {
        *at = color;
    }
}

} // namespace PixelLineDetail

// The column runs of a chain's steep lines. The pending run grows while the runs that follow
// touch it in the same column. Finished runs are not written down their columns (a store per
// pixel, each in another cache line) but swept into rows: while the runs go from column to
// neighbouring column, every row they share stays open, and a row is written as one
// horizontal stretch when the runs leave it. The work per column follows how far the ends of
// the runs move, and the pixels go out in stretches along the scan lines.
//
// Banded, a run stands for a band of width columns from its column to the right (the lines of
// a device scale, see TPixelLine::SetScale): the columns that consecutive runs cover together
// reach from the first run's column to the last one's plus width - 1, so a row is written from
// where it opened to there, and nothing outside the clip's columns. A row that a run leaves is
// still joined to a run up to width columns further on, so it is left open that long and only
// then written: a steep band from one column to the next crosses the columns between in runs
// shorter than those on either side, and closing the rows they miss would write the rows of
// every column anew.
template <bool Banded>
class KORVATEL_EXPORT TPixelLine::TColumnRuns {
public:
    // open: scratch of at least clip.Bottom - clip.Top entries.
    TColumnRuns(std::uint8_t* bits, std::int64_t bytesPerLine, QRgb color, const TRect& clip,
                std::int32_t* open, std::int32_t width = 1)
        : FBits(bits), FBytesPerLine(bytesPerLine), FColor(color), FTop(clip.Top), FLeft(clip.Left),
          FRight(clip.Right - 1), FWidth(width), FOpen(open) {}
    ~TColumnRuns() {
        if (FPending.Valid) {
            Finish(FPending);
        }
        CloseAll();
    }
    TColumnRuns(const TColumnRuns&) = delete;
    TColumnRuns& operator=(const TColumnRuns&) = delete;

    void Add(std::int32_t column, std::int32_t low, std::int32_t high) {
        TRun& run = FPending;
        if (run.Valid && column == run.Column && low <= std::int64_t{run.High} + 1 &&
            high >= std::int64_t{run.Low} - 1) {
            run.Low = std::min(run.Low, low);
            run.High = std::max(run.High, high);
            return;
        }
        if (run.Valid) {
            Finish(run);
        }
        run = {true, column, low, high};
    }

    // The runs of a steep (y-major) span, a column at a time.
    void AddSpan(const TSpan& span) {
        std::int32_t column = span.X;
        std::int32_t row = span.Y;
        const std::int64_t step = span.ErrorStep;
        const std::int64_t limit = span.ErrorLimit;
        std::int64_t error = span.Error;
        std::int64_t left = span.Count;
        while (left > 0) {
            // The pixels up to and including the one after which the error term reaches the
            // limit, as in WalkRuns.
            std::int64_t run = left;
            if (step > 0 && left > 1) {
                // error < limit and step <= limit: below 2^31 the numerator fits 32 bits, and
                // a 32-bit division is several times faster than a 64-bit one.
                const std::int64_t numerator = limit - error + step - 1;
                const std::int64_t steps =
                    limit < (std::int64_t{1} << 31)
                        ? static_cast<std::uint32_t>(numerator) / static_cast<std::uint32_t>(step)
                        : numerator / step;
                run = std::min(left, std::max<std::int64_t>(1, steps));
            }
            const auto end = static_cast<std::int32_t>(row + span.MajorStep * (run - 1));
            Add(column, std::min(row, end), std::max(row, end));
            row = end + span.MajorStep;
            left -= run;
            error += run * step;
            if (error >= limit) {
                error -= limit;
                column += span.MinorStep;
            }
        }
    }

private:
    struct TRun {
        bool Valid = false;
        std::int32_t Column = 0;
        std::int32_t Low = 0;
        std::int32_t High = 0;
    };

    // Takes a finished run into the sweep.
    void Finish(const TRun& run) {
        if (!FSwept.Valid) {
            Open(run);
            return;
        }
        const std::int64_t step = std::int64_t{run.Column} - FSwept.Column;
        if (step == 0) {
            // A second, separate run in the column: written as it is.
            WriteColumn(run);
            return;
        }
        if ((step != 1 && step != -1) || (FDirection != 0 && step != FDirection)) {
            CloseAll();
            Open(run);
            return;
        }
        FDirection = static_cast<std::int32_t>(step);
        if constexpr (Banded) {
            SweepBand(run);
            return;
        }
        const TRun& last = FSwept;
        // Rows of the last run that the new one leaves end at the last column.
        Close(last.Low, std::min(last.High, run.Low - 1), last.Column);
        Close(std::max(last.Low, run.High + 1), last.High, last.Column);
        // Rows the new run adds start at its column.
        for (std::int32_t row = run.Low; row <= std::min(run.High, last.Low - 1); ++row) {
            FOpen[row - FTop] = run.Column;
        }
        for (std::int32_t row = std::max(run.Low, last.High + 1); row <= run.High; ++row) {
            FOpen[row - FTop] = run.Column;
        }
        FSwept = run;
    }

    void Open(const TRun& run) {
        for (std::int32_t row = run.Low; row <= run.High; ++row) {
            FOpen[row - FTop] = run.Column;
        }
        FSwept = run;
        FDirection = 0;
    }

    // The sweep of a band wider than a column: the next run, one column on in the sweep's
    // direction.
    void SweepBand(const TRun& run) {
        const TRun last = FSwept;
        // Rows left behind that the run covers again stay open as they are; the rest of them
        // wait on.
        FRevived.clear();
        FWaiting.clear();
        for (const TRun& behind : FBehind) {
            if (behind.High < run.Low || behind.Low > run.High) {
                FWaiting.push_back(behind);
                continue;
            }
            FRevived.push_back({true, behind.Column, std::max(behind.Low, run.Low),
                                std::min(behind.High, run.High)});
            if (behind.Low < run.Low) {
                FWaiting.push_back({true, behind.Column, behind.Low, run.Low - 1});
            }
            if (behind.High > run.High) {
                FWaiting.push_back({true, behind.Column, run.High + 1, behind.High});
            }
        }
        FBehind.swap(FWaiting);
        // Rows of the last run that this one leaves start to wait.
        if (last.Low < run.Low) {
            FBehind.push_back({true, last.Column, last.Low, std::min(last.High, run.Low - 1)});
        }
        if (last.High > run.High) {
            FBehind.push_back({true, last.Column, std::max(last.Low, run.High + 1), last.High});
        }
        // Rows the run adds, and that were not waiting, start at its column: the rows between
        // the revived pieces (which lie outside the last run, as everything waiting does).
        std::sort(FRevived.begin(), FRevived.end(),
                  [](const TRun& a, const TRun& b) { return a.Low < b.Low; });
        auto open = [&](std::int32_t low, std::int32_t high) {
            std::int32_t row = low;
            for (const TRun& piece : FRevived) {
                for (; row <= std::min(high, piece.Low - 1); ++row) {
                    FOpen[row - FTop] = run.Column;
                }
                row = std::max(row, piece.High + 1);
            }
            for (; row <= high; ++row) {
                FOpen[row - FTop] = run.Column;
            }
        };
        open(run.Low, std::min(run.High, last.Low - 1));
        open(std::max(run.Low, last.High + 1), run.High);
        FSwept = run;
        // Rows no later run can join any more are written.
        std::erase_if(FBehind, [&](const TRun& behind) {
            if (std::abs(std::int64_t{run.Column} - behind.Column) < FWidth) {
                return false;
            }
            Close(behind.Low, behind.High, behind.Column);
            return true;
        });
    }

    // Writes the rows low..high from where they opened to the column where they ended; a band
    // reaches width - 1 columns further, as far as the clip lets it.
    void Close(std::int32_t low, std::int32_t high, std::int32_t column) {
        for (std::int32_t row = low; row <= high; ++row) {
            const std::int32_t from = FOpen[row - FTop];
            std::int32_t left = std::min(from, column);
            std::int32_t right = std::max(from, column);
            if constexpr (Banded) {
                left = std::max(left, FLeft);
                right = std::min(right + FWidth - 1, FRight);
            }
            PixelLineDetail::FillStretch(reinterpret_cast<QRgb*>(FBits + row * FBytesPerLine), left,
                                         right, FColor);
        }
    }

    void CloseAll() {
        if (FSwept.Valid) {
            Close(FSwept.Low, FSwept.High, FSwept.Column);
            FSwept.Valid = false;
        }
        if constexpr (Banded) {
            for (const TRun& behind : FBehind) {
                Close(behind.Low, behind.High, behind.Column);
            }
            FBehind.clear();
        }
    }

    void WriteColumn(const TRun& run) {
        if constexpr (Banded) {
            const std::int32_t left = std::max(run.Column, FLeft);
            const std::int32_t right = std::min(run.Column + FWidth - 1, FRight);
            for (std::int32_t row = run.Low; row <= run.High; ++row) {
                PixelLineDetail::FillStretch(reinterpret_cast<QRgb*>(FBits + row * FBytesPerLine),
                                             left, right, FColor);
            }
            return;
        }
        std::uint8_t* at =
            FBits + run.Low * FBytesPerLine + std::int64_t{run.Column} * sizeof(QRgb);
        for (std::int32_t row = run.Low; row <= run.High; ++row, at += FBytesPerLine) {
            *reinterpret_cast<QRgb*>(at) = FColor;
        }
    }

    std::uint8_t* FBits;
    std::int64_t FBytesPerLine;
    QRgb FColor;
    std::int32_t FTop;
    std::int32_t FLeft;
    std::int32_t FRight;
    std::int32_t FWidth;
    std::int32_t* FOpen;
    TRun FPending;
    // The last run of the sweep, and the way it goes (+1, -1, or 0 before its second column).
    TRun FSwept;
    std::int32_t FDirection = 0;
    // Open rows of a band that the last run does not cover, with the column that last did.
    std::vector<TRun> FBehind;
    std::vector<TRun> FWaiting;
    std::vector<TRun> FRevived;
};

} // namespace Korvatel
