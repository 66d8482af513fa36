// SPDX-License-Identifier: MIT
#include <korvatel/canvas/SystemColors.h>

#include <QGuiApplication>
#include <QPalette>

namespace Korvatel {

namespace {

struct TPaletteEntry {
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};

// Which palette colour stands for each system colour. The three the chart itself uses are the
// button face (panel background), its light edge (raised bevel, top left) and its dark edge
// (raised bevel, bottom right).
constexpr std::array<TPaletteEntry, TSystemColors::Count> PaletteEntries{{
    {QPalette::Active, QPalette::Button},            // 0 scroll bar
    {QPalette::Active, QPalette::Dark},              // 1 desktop background
    {QPalette::Active, QPalette::Highlight},         // 2 active caption
    {QPalette::Inactive, QPalette::Highlight},       // 3 inactive caption
    {QPalette::Active, QPalette::Window},            // 4 menu
    {QPalette::Active, QPalette::Base},              // 5 window
    {QPalette::Active, QPalette::Shadow},            // 6 window frame
    {QPalette::Active, QPalette::WindowText},        // 7 menu text
    {QPalette::Active, QPalette::Text},              // 8 window text
    {QPalette::Active, QPalette::HighlightedText},   // 9 caption text
    {QPalette::Active, QPalette::Window},            // 10 active border
    {QPalette::Inactive, QPalette::Window},          // 11 inactive border
    {QPalette::Active, QPalette::Mid},               // 12 application work space
    {QPalette::Active, QPalette::Highlight},         // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},   // 14 highlighted text
    {QPalette::Active, QPalette::Button},            // 15 button face
    {QPalette::Active, QPalette::Dark},              // 16 button shadow
    {QPalette::Disabled, QPalette::Text},            // 17 gray text
    {QPalette::Active, QPalette::ButtonText},        // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText}, // 19 inactive caption text
    {QPalette::Active, QPalette::Light},             // 20 button highlight
    {QPalette::Active, QPalette::Shadow},            // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight},          // 22 3D light
    {QPalette::Active, QPalette::ToolTipText},       // 23 info text
    {QPalette::Active, QPalette::ToolTipBase},       // 24 info background
    {QPalette::Active, QPalette::Shadow},            // 25 (unused by the platform: black)
    {QPalette::Active, QPalette::Link},              // 26 hot-tracked item
    {QPalette::Active, QPalette::Highlight},         // 27 active caption gradient
    {QPalette::Inactive, QPalette::Highlight},       // 28 inactive caption gradient
    {QPalette::Active, QPalette::Highlight},         // 29 menu highlight
    {QPalette::Active, QPalette::Window},            // 30 menu bar
}};

} // namespace

std::array<QRgb, TSystemColors::Count>& TSystemColors::Table() {
    static std::array<QRgb, Count> table{};
    return table;
}

bool& TSystemColors::Loaded() {
    static bool loaded = false;
    return loaded;
}

void TSystemColors::Refresh() {
    // Without an application object there is no desktop palette; Qt's built-in one serves.
    const QPalette palette = qGuiApp != nullptr ? QGuiApplication::palette() : QPalette();
    std::array<QRgb, Count>& table = Table();
    for (std::uint32_t i = 0; i < Count; ++i) {
        const TPaletteEntry& entry = PaletteEntries[i];
        table[i] = palette.color(entry.Group, entry.Role).rgb() | 0xFF000000u;
    }
    table[25] = qRgb(0, 0, 0);
    Loaded() = true;
}

QRgb TSystemColors::Lookup(std::uint32_t index) {
    if (index >= Count) {
        return qRgb(0, 0, 0);
    }
    if (!Loaded()) {
        Refresh();
    }
    return Table()[index];
}

QRgb ColorToRgb(TColor color) {
    const auto value = static_cast<std::uint32_t>(color);
    if (IsSystemColor(color)) {
        return TSystemColors::Lookup(value & 0x00FFFFFFu);
    }
    return qRgb(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                static_cast<int>((value >> 16) & 0xFFu));
}

} // namespace Korvatel
