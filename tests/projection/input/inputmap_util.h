// One call of the input mapping with every result gathered in a record, for
// the input-mapping suites.
#pragma once

#include <cstdint>
#include <ostream>

#include "projection/input/input_mapping.h"
#include "projection/inverse/mollweide.h"

struct Mapped {
  float u;
  float v;
  uint8_t outside;
  int32_t face;
  int32_t layer;
  float blendWeight;
};

// blendWeight starts at -7, a value no layout writes, so a test can tell
// whether the layout wrote it.
constexpr float kUntouchedWeight = -7.0f;

inline Mapped MapInput(int32_t mode, const float p[3], int32_t mirror = 0, float aspect = 0.5f) {
  Mapped m = {0.0f, 0.0f, 9, 99, 99, kUntouchedWeight};
  renderhinttype* noHint = nullptr;
  TransformSphereToInput(mode, mirror, aspect, p, &m.u, &m.v, &m.outside, MollweideThetaTable(), &m.face,
                         &m.layer, &m.blendWeight, nullptr, noHint);
  return m;
}

inline Mapped MapInputD(int32_t mode, const double p[3], int32_t mirror = 0, float aspect = 0.5f) {
  const float f[3] = {static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2])};
  return MapInput(mode, f, mirror, aspect);
}

inline std::ostream& operator<<(std::ostream& os, const Mapped& m) {
  return os << "(u " << m.u << ", v " << m.v << ", outside " << int(m.outside) << ", face " << m.face
            << ", layer " << m.layer << ", weight " << m.blendWeight << ")";
}
