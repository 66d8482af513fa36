// SPDX-License-Identifier: MIT
#pragma once

// Where one frame of the wave goes: the previous picture is cleared, then every sample is
// added as an (x, y) point.
class TFrameTarget {
public:
    virtual ~TFrameTarget() = default;
    virtual void ClearPoints() = 0;
    virtual void AddPoint(double x, double y) = 0;
};
