#include "star_layouts.h"

#include <cmath>
#include <memory>

#include "projection/inverse/star_projections.h"

namespace shapes {

namespace {

constexpr double kPi = 3.141592653589793;

using Member = void (*)(const NetSectorSample*, float[3], int32_t, int32_t*, uint8_t*);

SectorMap MapOf(Member member, int32_t mode) {
  return [member, mode](int32_t k, double b0, double b1, double b2) {
    NetSectorSample s{};
    s.triangle = k;
    s.sector = k;
    s.b0 = float(b0);
    s.b1 = float(b1);
    s.b2 = float(b2);
    float p[3];
    int32_t region = 0;
    uint8_t outside = 0;
    member(&s, p, mode, &region, &outside);
    const double r = std::sqrt(double(p[0]) * p[0] + double(p[1]) * p[1] + double(p[2]) * p[2]);
    return Dir3{{p[0] / r, p[1] / r, p[2] / r}};
  };
}

std::function<int32_t(int32_t)> GroupsOf(int32_t size) {
  return [size](int32_t k) { return k / size; };
}

// Sphere images that are a corner V of sectors in every group: the two
// points where the lunes of a three-ring layout meet.
std::vector<Dir3> CommonCorners(const SectorImages& im, int32_t sectors, int32_t groupSize) {
  std::vector<Dir3> out;
  for (int32_t k = 0; k < groupSize; ++k) {
    const Dir3& d = im.corner[k][kV];
    bool everywhere = true;
    for (int32_t g = 1; g * groupSize < sectors && everywhere; ++g) {
      bool found = false;
      for (int32_t j = g * groupSize; j < (g + 1) * groupSize; ++j) found = found || SameDir(im.corner[j][kV], d);
      everywhere = found;
    }
    bool known = false;
    for (const Dir3& o : out) known = known || SameDir(o, d);
    if (everywhere && !known) out.push_back(d);
  }
  return out;
}

bool IsOneOf(const Dir3& d, const std::vector<Dir3>& set) {
  for (const Dir3& s : set)
    if (SameDir(s, d)) return true;
  return false;
}

// The sector of the same ring that shares k's O-M edge: the other half of
// k's polygon edge.
int32_t EdgeSibling(const SectorImages& im, int32_t k, int32_t groupSize) {
  const int32_t g = k / groupSize;
  for (int32_t j = g * groupSize; j < (g + 1) * groupSize; ++j)
    if (j != k && SameDir(im.corner[j][kO], im.corner[k][kO]) && SameDir(im.corner[j][kM], im.corner[k][kM])) return j;
  return k;
}

SectorLayout Make(const char* name, Member member, int32_t mode, int32_t sectors, int32_t sides, cplx midpoint,
                  int32_t groupSize, bool star) {
  SectorLayout L;
  L.name = name;
  L.sectors = sectors;
  L.polygonSides = sides;
  L.midpoint = midpoint;
  L.map = MapOf(member, mode);
  L.rule.group = GroupsOf(groupSize);
  L.rule.star = star;
  return L;
}

}  // namespace

std::vector<SectorLayout> StarLayouts() {
  const cplx left(-1.0, 0.0);
  const cplx hexMid = std::polar(1.0, kPi / 6.0);
  const cplx squareMid = std::polar(1.0, kPi / 4.0);
  std::vector<SectorLayout> out;

  // Five-star: the pentagon's ten sectors, and on each of its edges the two
  // sectors of the far hemisphere folded out into a point. Corners are
  // numbered spoke by spoke, so the pentagon alone uses the first fifteen.
  SectorLayout fivestar = Make("fivestar", TotalFivestarToSphere, 0, 20, 5, left, 10, true);
  for (int32_t k = 0; k < 10; ++k) {
    fivestar.numberingWalk.push_back(k);
    fivestar.numberingWalk.push_back(k + 10);
  }
  out.push_back(fivestar);
  // Three-star and six-star: the polygon first, so that the triangle and the
  // hexagon alone use the first seven and thirteen corners.
  out.push_back(Make("threestar", TotalThreestarToSphere, 0, 12, 3, left, 6, true));
  out.push_back(Make("sixstar", TotalSixstarToSphere, 0, 24, 6, hexMid, 12, true));
  // Two polygons sharing one edge: one hemisphere each.
  out.push_back(Make("bipolar_rhombus", TotalThreestarToSphere, 2, 12, 3, left, 6, false));
  out.push_back(Make("Pentalene", TotalPentaleneToSphere, 0, 20, 5, left, 10, false));
  out.push_back(Make("Naphthalene", TotalNaphthaleneToSphere, 0, 24, 6, hexMid, 12, false));

  // Three hexagons, each a lune of a third of the sphere. Phenalene-like:
  // the three meet at one of the lunes' common corners, each sharing with
  // each other the edge at that corner. Anthracene: in a row, the middle
  // ring sharing the middle edges of its two lune sides.
  {
    SectorLayout L = Make("Phenathene", TotalPhenatheneToSphere, 0, 36, 6, hexMid, 12, false);
    auto im = std::make_shared<SectorImages>(ImagesOf(L));
    auto hubs = std::make_shared<std::vector<Dir3>>(CommonCorners(*im, 36, 12));
    L.rule.crossAllowed = [im, hubs](int32_t a, int32_t) {
      return !hubs->empty() && SameDir(im->corner[a][kV], (*hubs)[0]);
    };
    out.push_back(L);
  }
  {
    SectorLayout L = Make("Anthracene", TotalAnthraceneToSphere, 0, 36, 6, hexMid, 12, false);
    auto im = std::make_shared<SectorImages>(ImagesOf(L));
    auto poles = std::make_shared<std::vector<Dir3>>(CommonCorners(*im, 36, 12));
    L.rule.crossAllowed = [im, poles](int32_t a, int32_t) {
      const int32_t sibling = EdgeSibling(*im, a, 12);
      return !IsOneOf(im->corner[a][kV], *poles) && !IsOneOf(im->corner[sibling][kV], *poles);
    };
    out.push_back(L);
  }
  // Two diamonds, one hemisphere each; they share no edge (see shape_main).
  {
    SectorLayout L = Make("adamsdiamonds", TotalAdamsdiamondsToSphere, 0, 16, 4, squareMid, 8, false);
    L.rule.crossAllowed = [](int32_t, int32_t) { return false; };
    L.rule.touchAtCorner = true;
    out.push_back(L);
  }
  return out;
}

}  // namespace shapes
