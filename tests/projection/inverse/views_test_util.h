// Helpers of the view suites: comparisons, uniform test directions and a
// coverage count of a sphere tiled by the images of small flat meshes.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

using Dir = std::array<double, 3>;

template <typename A, typename B>
::testing::AssertionResult Near3(const A* got, const B* want, double tol) {
  double worst = 0.0;
  for (int i = 0; i < 3; ++i) {
    const double d = std::fabs(static_cast<double>(got[i]) - static_cast<double>(want[i]));
    if (!(d <= worst)) worst = d;
  }
  if (worst <= tol) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got (" << got[0] << ", " << got[1] << ", " << got[2] << ") want (" << want[0]
                                       << ", " << want[1] << ", " << want[2] << "), off by " << worst;
}

inline Dir Unit(double x, double y, double z) {
  const double r = std::sqrt(x * x + y * y + z * z);
  return {x / r, y / r, z / r};
}

inline double Angle(const Dir& a, const Dir& b) {
  const double c = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
  return std::acos(std::fmax(-1.0, std::fmin(1.0, c)));
}

// Directions spread uniformly over the sphere, the same on every run.
inline std::vector<Dir> TestDirections(int count, unsigned seed = 7) {
  std::mt19937 gen(seed);
  std::normal_distribution<double> g(0.0, 1.0);
  std::vector<Dir> out;
  while (static_cast<int>(out.size()) < count) {
    const double x = g(gen), y = g(gen), z = g(gen);
    if (x * x + y * y + z * z < 1e-6) continue;
    out.push_back(Unit(x, y, z));
  }
  return out;
}

// Flat triangles between mapped points; a direction counts a triangle when
// the ray along it passes through it. A map that covers the sphere exactly
// once gives every direction (off the seams) the count 1.
class SphereCover {
 public:
  void Add(const Dir& a, const Dir& b, const Dir& c) {
    const double det = Det(a, b, c);
    if (std::fabs(det) < 1e-18) return;  // collapsed (a pole of the mesh)
    tris_.push_back({a, b, c});
  }
  int Count(const Dir& d) const {
    int n = 0;
    for (const auto& t : tris_) {
      const double s = Det(t[0], t[1], t[2]) > 0 ? 1.0 : -1.0;
      if (s * Det(t[0], t[1], d) >= 0 && s * Det(t[1], t[2], d) >= 0 && s * Det(t[2], t[0], d) >= 0 &&
          Dot(d, t[0]) + Dot(d, t[1]) + Dot(d, t[2]) > 0) {
        ++n;
      }
    }
    return n;
  }
  size_t size() const { return tris_.size(); }

 private:
  static double Dot(const Dir& a, const Dir& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
  static double Det(const Dir& a, const Dir& b, const Dir& c) {
    return a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) + a[2] * (b[0] * c[1] - b[1] * c[0]);
  }
  std::vector<std::array<Dir, 3>> tris_;
};
