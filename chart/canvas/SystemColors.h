// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/core/ChartTypes.h>

#include <QRgb>
#include <array>
#include <cstdint>

namespace Korvatel {

// System colours beyond the ones the whole engine names (ChartTypes.h). The number in each is
// the index into the system colour table, as the platform numbers its system colours.
constexpr TColor clScrollBar = MakeSystemColor(0);
constexpr TColor clBackground = MakeSystemColor(1);
constexpr TColor clActiveCaption = MakeSystemColor(2);
constexpr TColor clInactiveCaption = MakeSystemColor(3);
constexpr TColor clMenu = MakeSystemColor(4);
constexpr TColor clWindowFrame = MakeSystemColor(6);
constexpr TColor clMenuText = MakeSystemColor(7);
constexpr TColor clCaptionText = MakeSystemColor(9);
constexpr TColor clActiveBorder = MakeSystemColor(10);
constexpr TColor clInactiveBorder = MakeSystemColor(11);
constexpr TColor clAppWorkSpace = MakeSystemColor(12);
constexpr TColor clHighlight = MakeSystemColor(13);
constexpr TColor clHighlightText = MakeSystemColor(14);
constexpr TColor clGrayText = MakeSystemColor(17);
constexpr TColor clBtnText = MakeSystemColor(18);
constexpr TColor clInactiveCaptionText = MakeSystemColor(19);
constexpr TColor cl3DDkShadow = MakeSystemColor(21);
constexpr TColor cl3DLight = MakeSystemColor(22);
constexpr TColor clInfoText = MakeSystemColor(23);
constexpr TColor clInfoBk = MakeSystemColor(24);
constexpr TColor clHotLight = MakeSystemColor(26);
constexpr TColor clGradientActiveCaption = MakeSystemColor(27);
constexpr TColor clGradientInactiveCaption = MakeSystemColor(28);
constexpr TColor clMenuHighlight = MakeSystemColor(29);
constexpr TColor clMenuBar = MakeSystemColor(30);

// The system colour table: what each system colour looks like on this desktop. The entries are
// taken from the application's palette the first time a system colour is resolved; Refresh
// takes them again (after a palette change). Used on the user-interface thread only.
class KORVATEL_EXPORT TSystemColors {
public:
    static constexpr std::uint32_t Count = 31;

    // The RGB of system colour index; black for an index the table does not have, as the
    // platform answers for an unknown system colour.
    static QRgb Lookup(std::uint32_t index);
    static void Refresh();

private:
    static std::array<QRgb, Count>& Table();
    static bool& Loaded();
};

// Resolves a colour value to the plain RGB that reaches the drawing surface: a system colour
// through the table above, any other value by its low 24 bits (0x00BBGGRR, red in the low byte).
// clDefault and clNone are not colours; their users test for them before drawing.
KORVATEL_EXPORT QRgb ColorToRgb(TColor color);

} // namespace Korvatel
