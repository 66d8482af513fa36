// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QRect>

// Of the aligned 2 x 2 blocks in an area of a picture drawn at ratio 2 that hold something
// other than white, how many are not of one colour. A picture drawn at ratio 1 and magnified
// has none; text drawn at the device's resolution has many.
struct TPixelBlocks {
    int Inked = 0;
    int Mixed = 0;
};

inline TPixelBlocks CountPixelBlocks(const QImage& image, const QRect& area) {
    TPixelBlocks blocks;
    for (int y = area.top() & ~1; y + 1 <= area.bottom(); y += 2) {
        for (int x = area.left() & ~1; x + 1 <= area.right(); x += 2) {
            const QRgb corner = image.pixel(x, y);
            const bool uniform = image.pixel(x + 1, y) == corner &&
                                 image.pixel(x, y + 1) == corner &&
                                 image.pixel(x + 1, y + 1) == corner;
            if (!uniform || corner != qRgb(255, 255, 255)) {
                ++blocks.Inked;
                blocks.Mixed += uniform ? 0 : 1;
            }
        }
    }
    return blocks;
}

