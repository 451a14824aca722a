// Flat nets of sector layouts: each 2D face is one sector triangle of a
// regular polygon (centre O, edge midpoint M, corner V, in that corner
// order), and a layout's sphere map (one of the plug-in's star and ring
// members) carries the barycentrics of a point of sector k to the sphere.
// The net is the map's own flat picture: sector 0 sits where the lookup
// table's domain triangle lies, and every further sector is the mirror image
// of an already placed one across an edge the two share on the sphere, so
// that the conformal map continues across it (the reflection principle).
#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace shapes {

using cplx = std::complex<double>;

struct Dir3 {
  double v[3];
};

enum Corner { kO = 0, kM = 1, kV = 2 };

// The sphere point of barycentrics (b0, b1, b2) in sector k.
using SectorMap = std::function<Dir3(int32_t k, double b0, double b1, double b2)>;

// Which sphere neighbours may be joined in the net. Sectors of one group
// (one polygon) join along O-M and O-V; a star keeps only O-M inside its
// outer groups, so each outer pair stays a point of the star. Across groups
// sectors join along their rim M-V where `crossAllowed` says so.
struct LayoutRule {
  std::function<int32_t(int32_t k)> group;
  bool star = false;
  std::function<bool(int32_t a, int32_t b)> crossAllowed;
  // Groups that join nowhere touch at a corner instead: the next group is
  // the mirror image, across the line through a rim corner V square to O-V,
  // of a sector that meets it along the rim on the sphere.
  bool touchAtCorner = false;
};

struct SectorLayout {
  std::string name;
  int32_t sectors = 0;
  int32_t polygonSides = 0;  // the polygon the sector table cuts
  cplx midpoint;             // M of the table's domain triangle (the polygon has inradius 1)
  SectorMap map;
  LayoutRule rule;
  std::vector<int32_t> numberingWalk;  // sectors in the order their corners are numbered; empty: 0, 1, ...
};

struct FlatNet {
  std::vector<cplx> points;              // 2D vertices, numbered from 0
  std::vector<std::vector<int32_t>> faces;  // 0-based corners per face
  std::vector<Dir3> solid;               // the distinct sphere images of the corners
  std::vector<int32_t> solidOf;          // per 2D vertex
  std::vector<std::array<cplx, 3>> sectorTriangles;  // O, M, V of each sector
};

// Sphere images of each sector's corners and edge midpoints.
struct SectorImages {
  std::vector<std::array<Dir3, 3>> corner;
  std::vector<std::array<Dir3, 3>> edgeMid;  // edge e runs from corner e to corner (e + 1) mod 3
};

SectorImages ImagesOf(const SectorLayout& layout);

// Lays out every sector; aborts (with a message) when some sector cannot be
// reached by allowed joins.
std::vector<std::array<cplx, 3>> PlaceSectors(const SectorLayout& layout, const SectorImages& images);

// Numbers the corners (equal position and equal sphere image make one
// vertex) and collects the distinct sphere images.
FlatNet NumberNet(const SectorLayout& layout, const SectorImages& images,
                  const std::vector<std::array<cplx, 3>>& triangles);

// Equal to the lookup tables' precision (see sector_nets.cpp).
bool SameDir(const Dir3& a, const Dir3& b, double tolerance = 2e-4);

}  // namespace shapes
