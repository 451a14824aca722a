#include "render/output_modes.h"

#include <algorithm>
#include <array>

#include "render/routes_closed.h"

namespace {

constexpr uint32_t kNone = OutputModeFlag_None;
constexpr uint32_t kNormal = OutputModeFlag_NormalIsPoint;
constexpr uint32_t kGores = OutputModeFlag_Gores;
constexpr uint32_t kSheet = OutputModeFlag_MultiView;

constexpr PlaneBox kWide = {-0.5, -0.25, 0.5, 0.25};  // a 2:1 map centred on the origin
constexpr PlaneBox kSquare = kDefaultPlaneBox;
constexpr PlaneBox kTwoSquare = {-1.0, -1.0, 1.0, 1.0};
constexpr PlaneBox kTwoWide = {-1.0, -0.5, 1.0, 0.5};
constexpr double kRoot2 = 1.414213562373095;
constexpr double kHalfRoot2 = 0.7071067811865475;
constexpr double kPiD = 3.141592653;
constexpr double kHalfPiD = 1.5707963265;

// Modes that have a box but no route yet are listed so that the framing of
// every mode lives in one place; their routes arrive as one function each.
constexpr std::array kRows = {
    OutputModeRow{OutputMode_Equirectangular, "equirectangular", Route_Equirectangular, {0.0, 0.0, 1.0, 0.5}, kNone, nullptr},
    OutputModeRow{OutputMode_MirrorBall, "mirror ball", Route_MirrorBall, kSquare, kNone, nullptr},
    OutputModeRow{OutputMode_Polar, "polar", Route_Polar, kSquare, kNone, nullptr},
    OutputModeRow{OutputMode_HalfPolar, "half polar", Route_HalfPolar, kWide, kNone, nullptr},
    OutputModeRow{OutputMode_Orthographic, "orthographic", Route_Orthographic, kSquare, kNormal, nullptr},
    OutputModeRow{OutputMode_Hammer, "Hammer", Route_Hammer, kWide, kNone, nullptr},
    OutputModeRow{OutputMode_Werner, "Werner", Route_Werner, kSquare, kNone, nullptr},
    OutputModeRow{OutputMode_Sinusoidal, "sinusoidal", Route_Sinusoidal, kWide, kNone, nullptr},
    OutputModeRow{OutputMode_Cylindrical, "cylindrical", Route_Cylindrical, kSquare, kNone, nullptr},
    OutputModeRow{20, "lozenge", nullptr, kWide, kNone, nullptr},
    OutputModeRow{22, "curvy", nullptr, {-0.391, -0.298, 0.391, 0.298}, kNone, nullptr},
    OutputModeRow{23, "goggles", nullptr, {-0.4625, -0.1855, 0.4625, 0.1855}, kNone, nullptr},
    OutputModeRow{OutputMode_WinkelTripel, "Winkel Tripel", Route_WinkelTripel,
                  {-2.570796326312263, -1.5707963267948966, 2.570796326312263, 1.5707963267948966}, kNone, nullptr},
    OutputModeRow{36, "gores 12", nullptr, kWide, kGores, nullptr},
    OutputModeRow{37, "gores 24", nullptr, kWide, kGores, nullptr},
    OutputModeRow{38, "gores by view angle", nullptr, kWide, kGores, nullptr},
    OutputModeRow{OutputMode_TwoCircles, "two circles", Route_TwoCircles, kWide, kNone, nullptr},
    OutputModeRow{43, "Omnimax", nullptr, {-0.5, -0.5, 0.5, 0.23}, kNone, nullptr},
    OutputModeRow{OutputMode_Mollweide, "Mollweide", Route_Mollweide, kWide, kNone, nullptr},
    OutputModeRow{48, "star 3", nullptr, {-0.434, -0.5, 0.434, 0.308}, kNone, nullptr},
    OutputModeRow{49, "star 5", nullptr, {-0.477, -0.5, 0.477, 0.405}, kNone, nullptr},
    OutputModeRow{OutputMode_Magnipolar, "magnipolar", Route_Magnipolar, kSquare, kNone, nullptr},
    OutputModeRow{53, "gores 12 square", nullptr, kSquare, kGores, nullptr},
    OutputModeRow{OutputMode_Annulus, "annulus", Route_Annulus, kSquare, kNone, nullptr},
    OutputModeRow{61, "gores 12 tall", nullptr, {-0.5, -1.0, 0.5, 1.0}, kGores, nullptr},
    OutputModeRow{63, "gores 8", nullptr, kSquare, kGores, nullptr},
    OutputModeRow{69, "conformal 69", nullptr, kTwoSquare, kNone, nullptr},
    OutputModeRow{73, "ellipsoid gores", nullptr, kWide, kGores, nullptr},
    OutputModeRow{74, "egg gores", nullptr, kWide, kGores, nullptr},
    OutputModeRow{75, "views of a tetrahedron", nullptr, kSquare, kSheet, nullptr},
    OutputModeRow{76, "views of a cube", nullptr, kSquare, kSheet, nullptr},
    OutputModeRow{77, "views of an octahedron", nullptr, kSquare, kSheet, nullptr},
    OutputModeRow{78, "views of a dodecahedron", nullptr, kSquare, kSheet, nullptr},
    OutputModeRow{79, "views of an icosahedron", nullptr, kSquare, kSheet, nullptr},
    OutputModeRow{80, "Robinson", nullptr, kTwoWide, kNone, nullptr},
    OutputModeRow{81, "programmatic view", nullptr, kWide, kNone, nullptr},
    OutputModeRow{83, "thorn sheet", nullptr, {-2.0, -2.0, 2.0, 2.0}, kNone, nullptr},
    OutputModeRow{84, "conformal 84", nullptr, {-2.416, -1.416, 2.416, 1.416}, kNone, nullptr},
    OutputModeRow{87, "thorn sheet 2", nullptr, {-2.0, -2.0, 2.0, 2.0}, kNone, nullptr},
    OutputModeRow{89, "conformal 89", nullptr, kTwoSquare, kNone, nullptr},
    OutputModeRow{90, "Peirce 90", nullptr, {0.0, 0.0, 1.0, 1.0}, kNone, nullptr},
    OutputModeRow{91, "Peirce 91", nullptr, {0.0, 0.0, 1.0, 1.0}, kNone, nullptr},
    OutputModeRow{92, "Peirce 92", nullptr, kTwoWide, kNone, nullptr},
    OutputModeRow{93, "Peirce 93", nullptr, {-1.0, -0.944, 1.0, 0.944}, kNone, nullptr},
    OutputModeRow{94, "Peirce 94", nullptr, kTwoSquare, kNone, nullptr},
    OutputModeRow{95, "Peirce 95", nullptr, {-1.0, -0.95, 1.0, 0.95}, kNone, nullptr},
    OutputModeRow{96, "Peirce 96", nullptr, {-1.0, -0.867, 1.0, 0.867}, kNone, nullptr},
    OutputModeRow{99, "Peirce 99", nullptr, kTwoWide, kNone, nullptr},
    OutputModeRow{118, "Peirce 118", nullptr, {-2.0, -0.5, 2.0, 0.5}, kNone, nullptr},
    OutputModeRow{119, "Peirce 119", nullptr, {0.0, 0.0, 1.0, 0.5}, kNone, nullptr},
    OutputModeRow{120, "conformal 120", nullptr, kTwoWide, kNone, nullptr},
    OutputModeRow{121, "Peirce 121", nullptr, {0.0, 0.0, 1.324609089252006, 0.8686709614860096}, kNone, nullptr},
    OutputModeRow{128, "Peirce 128", nullptr, {-kRoot2, -kRoot2, kRoot2, kHalfRoot2}, kNone, nullptr},
    OutputModeRow{OutputMode_Gilbert, "Gilbert", Route_Orthographic, kSquare, kNormal, nullptr},
    OutputModeRow{138, "two halves", nullptr, kWide, kNone, nullptr},
    OutputModeRow{OutputMode_QuickGlobe, "quick globe", Route_Orthographic, kSquare, kNormal, nullptr},
    OutputModeRow{140, "equal-area square", nullptr, kTwoSquare, kNone, nullptr},
    OutputModeRow{141, "Peirce 141", nullptr, kTwoSquare, kNone, nullptr},
    OutputModeRow{142, "Peirce 142", nullptr, kTwoSquare, kNone, nullptr},
    OutputModeRow{OutputMode_GilbertGlobe, "Gilbert globe", Route_Orthographic, kSquare, kNormal, nullptr},
    OutputModeRow{159, "two cylinders", nullptr,
                  {-2.221441468662136, -2.221441468662136, 2.221441468662136, 2.221441468662136}, kNone, nullptr},
    OutputModeRow{160, "three cylinders", nullptr, {-kPiD, -kHalfPiD, 3.92699081625, kHalfPiD}, kNone, nullptr},
    OutputModeRow{171, "two halves 171", nullptr, kWide, kNone, nullptr},
    // The folding sphere's box depends on its gore count; framing computes it.
    OutputModeRow{OutputMode_FoldingSphere, "folding sphere", nullptr, kSquare, kGores, nullptr},
    OutputModeRow{1042, "Omnimax 1042", nullptr, {-0.5, -0.5, 0.5, 0.23}, kNone, nullptr},
    OutputModeRow{1044, "gores 18", nullptr, kWide, kGores, nullptr},
};

constexpr bool RowsAscend() {
  for (size_t i = 1; i < kRows.size(); ++i)
    if (kRows[i - 1].mode >= kRows[i].mode) return false;
  return true;
}
static_assert(RowsAscend(), "output mode rows must be in increasing mode order, each mode once");

constexpr bool BoxesHaveArea() {
  for (const OutputModeRow& r : kRows)
    if (!(r.box.xMax > r.box.xMin && r.box.yMax > r.box.yMin)) return false;
  return true;
}
static_assert(BoxesHaveArea(), "framing needs a box of non-zero width and height");

}  // namespace

std::span<const OutputModeRow> OutputModeTable() { return kRows; }

const OutputModeRow* FindOutputMode(int32_t mode) {
  const auto it = std::lower_bound(kRows.begin(), kRows.end(), mode,
                                   [](const OutputModeRow& r, int32_t m) { return r.mode < m; });
  return (it != kRows.end() && it->mode == mode) ? &*it : nullptr;
}
