#include "lattice_nets.h"

#include <cmath>

namespace shapes {

namespace {

const cplx kSixth = std::polar(1.0, 3.141592653589793 / 3.0);

cplx Reflect(cplx p, cplx a, cplx b) {
  const cplx d = b - a;
  return a + d * std::conj((p - a) / d);
}

int32_t Add(LatticeNet* net, cplx p) {
  net->points.push_back(p);
  return int32_t(net->points.size() - 1);
}

}  // namespace

LatticeNet SquareOctahedron() {
  LatticeNet net;
  // Solid: +z the pole at the centre, -z the corners, the equator on the axes.
  net.solid = {{{0, 0, 1}}, {{1, 0, 0}}, {{0, 1, 0}}, {{-1, 0, 0}}, {{0, -1, 0}}, {{0, 0, -1}}};
  for (int32_t j = 0; j < 3; ++j)
    for (int32_t i = 0; i < 3; ++i) {
      Add(&net, cplx(i - 1.0, j - 1.0));
      int32_t s = 5;
      if (i == 1 && j == 1) s = 0;
      if (i == 2 && j == 1) s = 1;
      if (i == 1 && j == 2) s = 2;
      if (i == 0 && j == 1) s = 3;
      if (i == 1 && j == 0) s = 4;
      net.solidOf.push_back(s);
    }
  auto at = [](int32_t i, int32_t j) { return j * 3 + i; };
  // Each quarter of the square: the face at the centre pole, then the face
  // at the corner, both counter-clockwise.
  const int32_t quarter[4][2] = {{2, 2}, {0, 2}, {0, 0}, {2, 0}};
  for (const auto& q : quarter) {
    const int32_t ci = q[0], cj = q[1];
    const int32_t a = at(ci, 1), b = at(1, cj), corner = at(ci, cj), centre = at(1, 1);
    const bool ccw = (ci == 2) == (cj == 2);
    net.faces.push_back(ccw ? std::vector<int32_t>{centre, a, b} : std::vector<int32_t>{centre, b, a});
    net.faces.push_back(ccw ? std::vector<int32_t>{corner, b, a} : std::vector<int32_t>{corner, a, b});
  }
  return net;
}

LatticeNet TetrahedronTile() {
  LatticeNet net;
  for (int32_t j = 0; j < 3; ++j)
    for (int32_t i = 0; i < 3; ++i) {
      Add(&net, cplx(i, j));
      net.solidOf.push_back((i % 2) + 2 * (j % 2));
    }
  auto at = [](int32_t i, int32_t j) { return j * 3 + i; };
  for (int32_t j = 0; j < 2; ++j)
    for (int32_t i = 0; i < 2; ++i) {
      net.faces.push_back({at(i, j), at(i + 1, j), at(i + 1, j + 1)});
      net.faces.push_back({at(i, j), at(i + 1, j + 1), at(i, j + 1)});
    }
  return net;
}

LatticeNet IcosahedronSunburst() {
  LatticeNet net;
  const int32_t centre = Add(&net, 0.0);
  int32_t ring[6];
  for (int32_t k = 0; k < 6; ++k) ring[k] = Add(&net, std::pow(kSixth, k));
  for (int32_t i = 0; i < 5; ++i) net.faces.push_back({centre, ring[i], ring[i + 1]});
  for (int32_t i = 0; i < 5; ++i) {
    const cplx u0 = net.points[ring[i]], u1 = net.points[ring[i + 1]];
    // The band face across the cap's outer edge, then the band face across
    // that one's leading side, then the far cap face across its outer edge.
    const cplx lower0 = Reflect(0.0, u0, u1);
    const int32_t l0 = Add(&net, lower0);
    net.faces.push_back({ring[i + 1], ring[i], l0});
    const cplx lower1 = Reflect(u0, u1, lower0);
    const int32_t l1 = Add(&net, lower1);
    net.faces.push_back({ring[i + 1], l0, l1});
    const int32_t bottom = Add(&net, Reflect(u1, lower0, lower1));
    net.faces.push_back({l1, l0, bottom});
  }
  return net;
}

}  // namespace shapes
