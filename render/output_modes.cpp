#include "render/output_modes.h"

#include <algorithm>
#include <array>

#include "render/routes/routes_closed.h"
#include "render/routes/routes_stars.h"
#include "render/routes/routes_views.h"
#include "render/routes/routes_conformal.h"

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

// The multi-view sheets (75 to 79): each cell is a view through a face of a
// solid that the view build sets up; framing sizes the grid by its faces.
constexpr std::array kRows = {
    OutputModeRow{OutputMode_Equirectangular, "equirectangular", Route_Equirectangular, {0.0, 0.0, 1.0, 0.5}, kNone, nullptr},
    OutputModeRow{OutputMode_MirrorBall, "mirror ball", Route_MirrorBall, kSquare, kNone, nullptr},
    OutputModeRow{OutputMode_Polar, "polar", Route_Polar, kSquare, kNone, nullptr},
    OutputModeRow{OutputMode_HalfPolar, "half-polar", Route_HalfPolar, kWide, kNone, nullptr},
    OutputModeRow{OutputMode_Orthographic, "orthographic", Route_Orthographic, kSquare, kNormal, nullptr},
    OutputModeRow{OutputMode_Hammer, "Hammer", Route_Hammer, kWide, kNone, nullptr},
    OutputModeRow{OutputMode_Werner, "Werner", Route_Werner, kSquare, kNone, nullptr},
    OutputModeRow{OutputMode_Sinusoidal, "sinusoidal", Route_Sinusoidal, kWide, kNone, nullptr},
    OutputModeRow{14, "rectilinear", Route_Rectilinear, kSquare, kNone, nullptr},
    OutputModeRow{15, "hyperbolic", Route_Hyperbolic, kSquare, kNone, nullptr},
    OutputModeRow{16, "stereographic", Route_Stereographic, kSquare, kNone, nullptr},
    OutputModeRow{OutputMode_Cylindrical, "cylindrical", Route_Cylindrical, kSquare, kNone, nullptr},
    OutputModeRow{18, "Wetch", Route_Wetch, kSquare, kNone, nullptr},
    OutputModeRow{19, "pinwheel", Route_Pinwheel, kSquare, kNone, nullptr},
    OutputModeRow{20, "lozenge", Route_Lozenge, kWide, kNone, nullptr},
    OutputModeRow{22, "curvy", Route_Curvy, {-0.391, -0.298, 0.391, 0.298}, kNone, nullptr},
    OutputModeRow{23, "goggles", Route_Goggles, {-0.4625, -0.1855, 0.4625, 0.1855}, kNone, nullptr},
    OutputModeRow{24, "quasar", Route_Quasar, kSquare, kNone, nullptr},
    OutputModeRow{OutputMode_WinkelTripel, "Winkel Tripel", Route_WinkelTripel,
                  {-2.570796326312263, -1.5707963267948966, 2.570796326312263, 1.5707963267948966}, kNone, nullptr},
    OutputModeRow{36, "gores 12", Route_Gores, kWide, kGores, nullptr},
    OutputModeRow{37, "gores 24", Route_Gores, kWide, kGores, nullptr},
    OutputModeRow{38, "gores multi", Route_Gores, kWide, kGores, nullptr},
    OutputModeRow{39, "loop", Route_Loop, kSquare, kNone, nullptr},
    OutputModeRow{OutputMode_TwoCircles, "two circles", Route_TwoCircles, kWide, kNone, nullptr},
    OutputModeRow{43, "Omnimax", Route_Omnimax, {-0.5, -0.5, 0.5, 0.23}, kNone, nullptr},
    OutputModeRow{OutputMode_Mollweide, "Mollweide", Route_Mollweide, kWide, kNone, nullptr},
    OutputModeRow{48, "star 3", Route_Star, {-0.434, -0.5, 0.434, 0.308}, kNone, nullptr},
    OutputModeRow{49, "star 5", Route_Star, {-0.477, -0.5, 0.477, 0.405}, kNone, nullptr},
    OutputModeRow{OutputMode_Magnipolar, "magnipolar", Route_Magnipolar, kSquare, kNone, nullptr},
    OutputModeRow{51, "sprocket-6", Route_Floret, {-0.461, -0.489, 0.461, 0.489}, kNone, nullptr},
    OutputModeRow{52, "swoop", Route_Swoop, kSquare, kNone, nullptr},
    OutputModeRow{53, "gores 6 of 12", Route_Gores, kSquare, kGores, nullptr},
    OutputModeRow{56, "oculus", Route_Oculus, kSquare, kNone, nullptr},
    OutputModeRow{57, "triptych", Route_Triptych, kSquare, kNone, nullptr},
    OutputModeRow{58, "tetraptych", Route_Tetraptych, kSquare, kNone, nullptr},
    OutputModeRow{OutputMode_Annulus, "annulus", Route_Annulus, kSquare, kNone, nullptr},
    OutputModeRow{60, "shift lens", Route_Rectilinear, kSquare, kNone, nullptr},
    OutputModeRow{61, "gores 3 of 12", Route_Gores, {-0.5, -1.0, 0.5, 1.0}, kGores, nullptr},
    OutputModeRow{62, "Mercator", Route_Mercator, kSquare, kNone, nullptr},
    OutputModeRow{63, "umbrella", Route_Gores, kSquare, kGores, nullptr},
    OutputModeRow{65, "hyperdouble", Route_Hyperdouble, kSquare, kNone, nullptr},
    OutputModeRow{66, "hypertriple", Route_Hypertriple, kSquare, kNone, nullptr},
    OutputModeRow{67, "Mercator cross", Route_MercatorCross, kSquare, kNone, nullptr},
    OutputModeRow{68, "Mercator star", Route_MercatorStar, kSquare, kNone, nullptr},
    OutputModeRow{69, "Lagrange", Route_Lagrange2, kTwoSquare, kNone, nullptr},
    OutputModeRow{73, "tunable ellipsoid", Route_Gores, kWide, kGores, PrefillGoreProfile},
    OutputModeRow{74, "tunable egg", Route_Gores, kWide, kGores, PrefillGoreProfile},
    OutputModeRow{75, "4 views", Route_MultiView, kSquare, kSheet, nullptr},
    OutputModeRow{76, "12 views", Route_MultiView, kSquare, kSheet, nullptr},
    OutputModeRow{77, "24 views", Route_MultiView, kSquare, kSheet, nullptr},
    OutputModeRow{78, "60 views", Route_MultiView, kSquare, kSheet, nullptr},
    OutputModeRow{79, "72 views", Route_MultiView, kSquare, kSheet, nullptr},
    OutputModeRow{80, "Robinson", Route_Robinson, kTwoWide, kNone, nullptr},
    OutputModeRow{81, "equi tall", Route_EquiTall, kWide, kNone, nullptr},
    OutputModeRow{82, "semistereo", Route_StereoPerspective, kSquare, kNone, nullptr},
    OutputModeRow{83, "thorn", Route_ThornSheet, {-2.0, -2.0, 2.0, 2.0}, kNone, nullptr},
    OutputModeRow{84, "Lagrange 3-4", Route_Lagrange43, {-2.416, -1.416, 2.416, 1.416}, kNone, nullptr},
    OutputModeRow{85, "squoculus", Route_StereoGrowing, kSquare, kNone, nullptr},
    OutputModeRow{87, "thorn levo", Route_ThornSheet2, {-2.0, -2.0, 2.0, 2.0}, kNone, nullptr},
    OutputModeRow{88, "unFish", Route_UnFish, kSquare, kNone, nullptr},
    OutputModeRow{89, "Lagrange plus", Route_Lagrange2Open, kTwoSquare, kNone, nullptr},
    OutputModeRow{90, "Adams 1", Route_AdamsCorners, {0.0, 0.0, 1.0, 1.0}, kNone, nullptr},
    OutputModeRow{91, "Adams 2", Route_AdamsEdges, {0.0, 0.0, 1.0, 1.0}, kNone, nullptr},
    OutputModeRow{92, "trecunx", Route_Peirce92, kTwoWide, kNone, nullptr},
    OutputModeRow{93, "quadracunx", Route_Peirce93, {-1.0, -0.944, 1.0, 0.944}, kNone, nullptr},
    OutputModeRow{94, "Peirce quincunx", Route_PeirceQuincuncial, kTwoSquare, kNone, nullptr},
    OutputModeRow{95, "sexacunx", Route_Peirce95, {-1.0, -0.95, 1.0, 0.95}, kNone, nullptr},
    OutputModeRow{96, "septecunx", Route_Peirce96, {-1.0, -0.867, 1.0, 0.867}, kNone, nullptr},
    OutputModeRow{99, "Guyou", Route_Guyou, kTwoWide, kNone, nullptr},
    OutputModeRow{108, "2-clover", Route_Floret, {-1.0, -0.5, 1.0, 0.5}, kNone, nullptr},
    OutputModeRow{109, "3-clover", Route_Floret, {-0.443, -0.482, 0.442, 0.338}, kNone, nullptr},
    OutputModeRow{110, "4-clover", Route_Floret, {-0.5, -0.5, 0.5, 0.5}, kNone, nullptr},
    OutputModeRow{111, "5-clover", Route_Floret, {-0.472, -0.489, 0.473, 0.425}, kNone, nullptr},
    OutputModeRow{112, "6-clover", Route_Floret, {-0.5, -0.5, 0.5, 0.5}, kNone, nullptr},
    OutputModeRow{118, "double Guyou", Route_DoubleGuyou, {-2.0, -0.5, 2.0, 0.5}, kNone, nullptr},
    OutputModeRow{119, "wide rect", Route_WideRectangle, {0.0, 0.0, 1.0, 0.5}, kNone, nullptr},
    OutputModeRow{120, "semicircle", Route_Semicircle, kTwoWide, kNone, nullptr},
    OutputModeRow{121, "ellipse", Route_Ellipse, {0.0, 0.0, 1.324609089252006, 0.8686709614860096}, kNone, nullptr},
    OutputModeRow{128, "chevron", Route_Chevron, {-kRoot2, -kRoot2, kRoot2, kHalfRoot2}, kNone, nullptr},
    // The Malta crosses: their floret canvases, centred on the origin.
    OutputModeRow{130, "3-malta", Route_Malta, {-0.432, -0.349, 0.431, 0.398}, kNone, nullptr},
    OutputModeRow{131, "4-malta", Route_Malta, {-0.298, -0.298, 0.298, 0.298}, kNone, nullptr},
    OutputModeRow{132, "5-malta", Route_Malta, {-0.442, -0.403, 0.441, 0.44}, kNone, nullptr},
    OutputModeRow{133, "6-malta", Route_Malta, {-0.356, -0.384, 0.356, 0.384}, kNone, nullptr},
    OutputModeRow{OutputMode_Gilbert, "Gilbert", Route_Orthographic, kSquare, kNormal, nullptr},
    OutputModeRow{135, "stereo twice", Route_StereoTwice, kSquare, kNone, nullptr},
    OutputModeRow{136, "stereo thrice", Route_StereoThrice, kSquare, kNone, nullptr},
    OutputModeRow{138, "equal-area cylinder", Route_EqualAreaCylinder, kWide, kNone, nullptr},
    OutputModeRow{OutputMode_QuickGlobe, "Quick globe", Route_Orthographic, kSquare, kNormal, nullptr},
    OutputModeRow{140, "equal squarea", Route_EqualAreaSquare, kTwoSquare, kNone, nullptr},
    OutputModeRow{141, "square fish 1", Route_SquareFish1, kTwoSquare, kNone, nullptr},
    OutputModeRow{142, "square fish 2", Route_SquareFish2, kTwoSquare, kNormal, nullptr},
    OutputModeRow{OutputMode_GilbertGlobe, "Gilbert globe", Route_Orthographic, kSquare, kNormal, nullptr},
    OutputModeRow{146, "calyx 3", Route_Floret, {-0.441, -0.354, 0.441, 0.472}, kNone, nullptr},
    OutputModeRow{147, "calyx 4", Route_Floret, {-0.495, -0.495, 0.495, 0.495}, kNone, nullptr},
    OutputModeRow{148, "calyx 5", Route_Floret, {-0.48, -0.495, 0.48, 0.434}, kNone, nullptr},
    OutputModeRow{149, "calyx 6", Route_Floret, {-0.497, -0.453, 0.497, 0.453}, kNone, nullptr},
    OutputModeRow{159, "two cylinders", Route_TwoCylinders,
                  {-2.221441468662136, -2.221441468662136, 2.221441468662136, 2.221441468662136}, kNone, nullptr},
    OutputModeRow{160, "three cylinders", Route_ThreeCylinders, {-kPiD, -kHalfPiD, 3.92699081625, kHalfPiD}, kNone, nullptr},
    OutputModeRow{164, "3-incurvate", Route_Floret, {-0.476, -0.464, 0.476, 0.36}, kNone, nullptr},
    OutputModeRow{165, "4-incurvate", Route_Floret, {-0.482, -0.482, 0.482, 0.482}, kNone, nullptr},
    OutputModeRow{OutputMode_ZenithNadir, "zenith & nadir", Route_ZenithNadir, kWide, kNone, nullptr},
    OutputModeRow{251, "sprocket-4", Route_Floret, {-0.482, -0.482, 0.482, 0.482}, kNone, nullptr},
    OutputModeRow{252, "sprocket-5", Route_Floret, {-0.457, -0.454, 0.418, 0.415}, kNone, nullptr},
    OutputModeRow{255, "Panini", Route_Panini, kSquare, kNone, nullptr},
    // The folding sphere's box depends on its gore count; framing computes it.
    OutputModeRow{OutputMode_FoldingSphere, "folding sphere", Route_FoldingSphere, kSquare, kGores, nullptr},
    OutputModeRow{1042, "", Route_Disc, kSquare, kNone, nullptr},
    // Reached only through the settings record: no scripting code names it.
    OutputModeRow{OutputMode_Gores18, "", Route_Gores, kWide, kGores, nullptr},
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
