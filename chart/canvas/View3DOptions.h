// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <cstdint>
#include <functional>

namespace Korvatel {

// How a three-dimensional chart is viewed: the oblique (orthogonal) view or a rotated view in
// perspective, with a zoom and a shift of the projected picture. Owned by the panel; each
// setter stores a new value and reports a change (the panel repaints) only when it differs.
class KORVATEL_EXPORT TView3DOptions {
public:
    using TChangeEvent = std::function<void()>;
    // horizontal: True for a HorizOffset change, False for a VertOffset change.
    using TScrolledEvent = std::function<void(bool horizontal)>;
    using TChangedZoomEvent = std::function<void(std::int32_t newZoom)>;

    TView3DOptions() = default;
    explicit TView3DOptions(TChangeEvent onChange) : FOnChange(std::move(onChange)) {}
    TView3DOptions(const TView3DOptions&) = delete;
    TView3DOptions& operator=(const TView3DOptions&) = delete;

    // Degrees of rotation about the horizontal screen axis.
    std::int32_t Elevation() const { return FElevation; }
    void SetElevation(std::int32_t value);
    // Pixels the projected picture moves right; a change also raises OnScrolled(true).
    std::int32_t HorizOffset() const { return FHorizOffset; }
    void SetHorizOffset(std::int32_t value);
    // The oblique view without rotation or perspective.
    bool Orthogonal() const { return FOrthogonal; }
    void SetOrthogonal(bool value);
    // Strength of the perspective, 0 to 100; 0 switches it off.
    std::int32_t Perspective() const { return FPerspective; }
    void SetPerspective(std::int32_t value);
    // Degrees of rotation about the vertical axis.
    std::int32_t Rotation() const { return FRotation; }
    void SetRotation(std::int32_t value);
    // Degrees of rotation about the depth axis.
    std::int32_t Tilt() const { return FTilt; }
    void SetTilt(std::int32_t value);
    // Pixels the projected picture moves down; a change also raises OnScrolled(false).
    std::int32_t VertOffset() const { return FVertOffset; }
    void SetVertOffset(std::int32_t value);
    // Scale of the projected picture in percent; OnChangedZoom sees the new value before it
    // is stored.
    std::int32_t Zoom() const { return FZoom; }
    void SetZoom(std::int32_t value);
    // Scale text with Zoom.
    bool ZoomText() const { return FZoomText; }
    void SetZoomText(bool value);

    // Copies all nine values and reports nothing: copying is not an edit of the view.
    void Assign(const TView3DOptions& source);
    void SetOnChange(TChangeEvent onChange) { FOnChange = std::move(onChange); }

    TScrolledEvent OnScrolled;
    TChangedZoomEvent OnChangedZoom;

private:
    template <typename T>
    bool SetProperty(T& field, T value) {
        if (field == value) {
            return false;
        }
        field = value;
        Changed();
        return true;
    }
    void Changed() const;

    TChangeEvent FOnChange;
    std::int32_t FElevation = 345;
    std::int32_t FHorizOffset = 0;
    bool FOrthogonal = true;
    std::int32_t FPerspective = 15;
    std::int32_t FRotation = 345;
    std::int32_t FTilt = 0;
    std::int32_t FVertOffset = 0;
    std::int32_t FZoom = 100;
    bool FZoomText = true;
};

} // namespace Korvatel
