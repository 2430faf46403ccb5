// The player window's layout: its caption, size and six controls in dialog
// units, the same for every window shell.
//
// A dialog unit is a quarter of the dialog font's average character width
// across and an eighth of its character height down, so the window grows with
// its font the way a dialog template does.
#pragma once

#include <array>
#include <cstdint>

#include "gfx/geometry.h"

namespace player {

inline constexpr char kDialogCaption[] = "ZEP Player";
inline constexpr int32_t kDialogWidthUnits = 210;
inline constexpr int32_t kDialogHeightUnits = 197;

// Command ids: Enter and Esc end the dialog with 1 and 2; the rest are controls.
inline constexpr int32_t kIdOk = 1;
inline constexpr int32_t kIdCancel = 2;
inline constexpr int32_t kIdPlay = 1024;
inline constexpr int32_t kIdStop = 1025;
inline constexpr int32_t kIdNext = 1026;
inline constexpr int32_t kIdPrevious = 1027;
inline constexpr int32_t kIdSaveBmp = 1028;
inline constexpr int32_t kIdCounter = 1088;

enum class ControlKind { PushButton, CenteredText };

struct ControlTemplate {
    int32_t id;
    ControlKind kind;
    const char* text;
    // In dialog units.
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

// In tab order. No button is the default one.
inline constexpr std::array<ControlTemplate, 6> kControls{{
    {kIdPlay, ControlKind::PushButton, "Play", 20, 175, 60, 20},
    {kIdStop, ControlKind::PushButton, "Stop", 85, 175, 60, 20},
    {kIdPrevious, ControlKind::PushButton, "<", 185, 75, 20, 25},
    {kIdNext, ControlKind::PushButton, ">", 185, 125, 20, 25},
    {kIdCounter, ControlKind::CenteredText, "", 180, 105, 25, 15},
    {kIdSaveBmp, ControlKind::PushButton, "Save BMP", 155, 175, 50, 20},
}};

// The font's measures that dialog units are made of, in pixels.
struct DialogBaseUnits {
    int32_t char_width;
    int32_t char_height;
};

// Dialog units to pixels, halves rounded up. Positions and sizes are mapped
// apart, as a dialog template's are.
constexpr int32_t UnitsToPixelsX(int32_t units, DialogBaseUnits base) {
    return static_cast<int32_t>((int64_t{units} * base.char_width + 2) / 4);
}
constexpr int32_t UnitsToPixelsY(int32_t units, DialogBaseUnits base) {
    return static_cast<int32_t>((int64_t{units} * base.char_height + 4) / 8);
}

// A control's rectangle in client pixels.
constexpr gfx::Rect ControlRect(const ControlTemplate& control, DialogBaseUnits base) {
    const int32_t left = UnitsToPixelsX(control.x, base);
    const int32_t top = UnitsToPixelsY(control.y, base);
    return {left, top, left + UnitsToPixelsX(control.width, base), top + UnitsToPixelsY(control.height, base)};
}

}  // namespace player
