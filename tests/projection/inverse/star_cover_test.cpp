// Every star and ring layout covers the sphere exactly once with its
// sectors, and neighbouring sectors meet along their shared edges.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "projection/inverse/star_projections.h"
#include "views_test_util.h"

namespace {

using Member = void (*)(const NetSectorSample*, float[3], int32_t, int32_t*, uint8_t*);

struct Layout {
  const char* name;
  Member member;
  int32_t mode;
  int32_t sectors;
};

// The pentagon, triangle and hexagon layouts open one polygon to the whole
// sphere by the Lagrange map: they use the first half of the sectors.
const Layout kLayouts[] = {
    {"pentalene", TotalPentaleneToSphere, 0, kPentaleneSectors},
    {"five-star", TotalFivestarToSphere, 0, kFivestarSectors},
    {"pentagon", TotalFivestarToSphere, 1, kFivestarSectors / 2},
    {"Adams diamonds", TotalAdamsdiamondsToSphere, 0, kAdamsDiamondsSectors},
    {"naphthalene", TotalNaphthaleneToSphere, 0, kNaphthaleneSectors},
    {"six-star", TotalSixstarToSphere, 0, kSixstarSectors},
    {"hexagon", TotalSixstarToSphere, 1, kSixstarSectors / 2},
    {"anthracene", TotalAnthraceneToSphere, 0, kAnthraceneSectors},
    {"phenanthrene", TotalPhenatheneToSphere, 0, kPhenantheneSectors},
    {"rhombus", TotalRhombusToSphere, 2, kRhombusSectors},
    {"three-star", TotalThreestarToSphere, 0, kThreestarSectors},
    {"triangle", TotalThreestarToSphere, 1, kThreestarSectors / 2},
    {"bipolar rhombus", TotalThreestarToSphere, 2, kThreestarSectors},
};

// The pointy layout raises a hemisphere to the power 3 and so shows parts of
// the sphere more than once; only its seams are checked.
const Layout kPointy = {"pointy", TotalNEWPOINTYToSphere, 0, kPointySectors};

Dir Map(const Layout& L, int32_t k, double b0, double b2, int32_t* region = nullptr) {
  NetSectorSample s{};
  s.triangle = k;
  s.sector = k;
  s.b0 = static_cast<float>(b0);
  s.b2 = static_cast<float>(b2);
  s.b1 = 1.0f - s.b0 - s.b2;
  float p[3];
  int32_t r = -99;
  uint8_t out = 0;
  L.member(&s, p, L.mode, &r, &out);
  EXPECT_EQ(out, 0);
  if (region) *region = r;
  return Unit(p[0], p[1], p[2]);
}

// (b0, b2) of the point at t along edge e of the sector triangle.
void EdgePoint(int e, double t, double* b0, double* b2) {
  switch (e) {
    case 0:
      *b0 = 1 - t;
      *b2 = 0;
      break;  // centre to edge midpoint
    case 1:
      *b0 = 0;
      *b2 = t;
      break;  // midpoint to corner (the rim)
    default:
      *b0 = t;
      *b2 = 1 - t;
      break;  // corner to centre
  }
}

// The mapped edges of every sector as dense polylines, with their sectors.
struct SectorEdges {
  std::vector<std::vector<Dir>> lines;
  std::vector<int32_t> owner;
};

SectorEdges EdgesOf(const Layout& L, int M) {
  SectorEdges out;
  for (int32_t k = 0; k < L.sectors; ++k) {
    for (int e = 0; e < 3; ++e) {
      std::vector<Dir> line;
      for (int i = 0; i <= M; ++i) {
        double b0, b2;
        EdgePoint(e, double(i) / M, &b0, &b2);
        line.push_back(Map(L, k, b0, b2));
      }
      out.lines.push_back(line);
      out.owner.push_back(k);
    }
  }
  return out;
}

Dir Cross(const Dir& a, const Dir& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Dot(const Dir& a, const Dir& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Angular distance from d to the great-circle arc a-b.
double DistanceToArc(const Dir& d, const Dir& a, const Dir& b) {
  const Dir n = Cross(a, b);
  const double len = std::sqrt(Dot(n, n));
  if (len > 1e-12 && Dot(Cross(a, d), n) >= 0 && Dot(Cross(d, b), n) >= 0) {
    return std::fabs(std::asin(std::fmin(1.0, Dot(d, n) / len)));
  }
  return std::fmin(Angle(d, a), Angle(d, b));
}

double DistanceToEdges(const SectorEdges& edges, const Dir& d) {
  double best = 10.0;
  for (const auto& line : edges.lines) {
    for (size_t i = 1; i < line.size(); ++i) best = std::fmin(best, DistanceToArc(d, line[i - 1], line[i]));
  }
  return best;
}

class StarLayout : public ::testing::TestWithParam<Layout> {};

TEST_P(StarLayout, SectorsCoverTheSphereOnce) {
  const Layout& L = GetParam();
  constexpr int N = 28;
  SphereCover cover;
  for (int32_t k = 0; k < L.sectors; ++k) {
    int32_t region = -1;
    Map(L, k, 0.3, 0.3, &region);
    EXPECT_EQ(region, k);
    // Barycentric grid: vertex (i, j) has b0 = i/N, b2 = j/N.
    std::vector<Dir> v((N + 1) * (N + 1));
    for (int i = 0; i <= N; ++i) {
      for (int j = 0; i + j <= N; ++j) v[i * (N + 1) + j] = Map(L, k, double(i) / N, double(j) / N);
    }
    for (int i = 0; i < N; ++i) {
      for (int j = 0; i + j < N; ++j) {
        cover.Add(v[i * (N + 1) + j], v[(i + 1) * (N + 1) + j], v[i * (N + 1) + j + 1]);
        if (i + j + 1 < N) cover.Add(v[(i + 1) * (N + 1) + j], v[(i + 1) * (N + 1) + j + 1], v[i * (N + 1) + j + 1]);
      }
    }
  }
  // The flat mesh stands off the true seams by a few thousandths; a
  // direction that close to a sector edge may fall into the sliver between.
  const SectorEdges edges = EdgesOf(L, 100);
  int once = 0, none = 0, more = 0, nearSeam = 0;
  for (const Dir& d : TestDirections(2000)) {
    const int c = cover.Count(d);
    if (c != 1 && DistanceToEdges(edges, d) < 3e-3) {
      ++nearSeam;
      continue;
    }
    (c == 1 ? once : c == 0 ? none : more)++;
  }
  EXPECT_EQ(none, 0) << L.name;
  EXPECT_EQ(more, 0) << L.name;
  EXPECT_LE(nearSeam, 5) << L.name;
}

void ExpectSeamsClose(const Layout& L) {
  const SectorEdges edges = EdgesOf(L, 400);
  for (size_t a = 0; a < edges.lines.size(); ++a) {
    for (double t : {0.17, 0.5, 0.83}) {
      const Dir& p = edges.lines[a][static_cast<int>(t * 400)];
      double best = 10.0;
      for (size_t b = 0; b < edges.lines.size(); ++b) {
        if (edges.owner[b] == edges.owner[a]) continue;
        for (const Dir& q : edges.lines[b]) best = std::fmin(best, Angle(p, q));
      }
      EXPECT_LT(best, 0.01) << L.name << " sector " << edges.owner[a] << " edge " << a % 3 << " at " << t;
    }
  }
}

TEST_P(StarLayout, NeighbouringSectorsShareTheirEdges) { ExpectSeamsClose(GetParam()); }

TEST(StarLayoutPointy, NeighbouringSectorsShareTheirEdges) { ExpectSeamsClose(kPointy); }

INSTANTIATE_TEST_SUITE_P(Layouts, StarLayout, ::testing::ValuesIn(kLayouts),
                         [](const ::testing::TestParamInfo<Layout>& i) {
                           std::string s = i.param.name;
                           for (char& c : s) {
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return s;
                         });

}  // namespace
