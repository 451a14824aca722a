// The names of the input modes and the graticules, as `gyrelle --list`
// prints them and the dialog's popups show them. Mac Roman (here plain
// ASCII); one table each, shared by the host and the plug-in.
#pragma once

#include <cstdint>

inline constexpr int32_t kInputModeNameCount = 30;
inline constexpr const char* kInputModeNames[kInputModeNameCount] = {
    "equirectangular", "mirror ball", "polar", "orthographic", "cylindrical", "mirror ball (k 1.149)", "Mollweide",
    "half-polar", "full-frame fisheye", "rectilinear", "cube face layers", "gores 12", "equirectangular half",
    "two circles", "stereographic", "equirectangular quarter", "Robinson", "mirror ball (k 1.55)",
    "gores 12, northern halves", "Mercator", "Lagrange", "Winkel Tripel", "Hammer", "equal-area cylinder",
    "gores 6", "zenith & nadir", "horizontal cross", "vertical cross", "polyhedron net", "oval",
};

inline constexpr int32_t kGraticuleNameCount = 7;
inline constexpr const char* kGraticuleNames[kGraticuleNameCount] = {
    "none", "every 5 degrees", "every 6 degrees", "every 10 degrees", "every 15 degrees", "every 30 degrees",
    "every 45 degrees",
};

// The view angle a setting takes, in degrees: above the least, up to the
// most. The dialog, `--list` and the renderer's refusal all state this range.
inline constexpr float kViewAngleAbove = 0.0f;
inline constexpr float kViewAngleMost = 180.0f;

inline const char* InputModeNameOf(int32_t mode) {
  return mode >= 1 && mode <= kInputModeNameCount ? kInputModeNames[mode - 1] : "";
}
inline const char* GraticuleNameOf(int32_t graticule) {
  return graticule >= 1 && graticule <= kGraticuleNameCount ? kGraticuleNames[graticule - 1] : "";
}
