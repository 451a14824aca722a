// Shared records of the net generator: a record owner, a net as rows of
// point numbers, and the steps that load a solid into a record.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "polyhedron/catalogue_solids.h"
#include "polyhedron/polyhedron_record.h"

namespace nets {

struct PolyDeleter {
  void operator()(polyhedron* p) const;
};
using PolyPtr = std::unique_ptr<polyhedron, PolyDeleter>;

// A fresh, initialised, wiped record that owns no arrays.
PolyPtr NewRecord(int32_t shapeCode);

// A net as the static tables hold it: points, and per row the 0-based point
// numbers of one face's corners. Row k shows solid face face3D[k] with its
// corner t on solid corner (t + offset[k]) mod n.
struct Net {
  std::vector<std::array<double, 2>> points;
  std::vector<std::vector<int32_t>> rows;
  std::vector<int32_t> face3D;
  std::vector<int32_t> offset;
};

// The solid of a family loaded through the adders (vertices in table order,
// faces with their checks run once at the end), its angles and 3D links
// built. The record owns its arrays.
PolyPtr LoadSolid(const CatalogueSolid& solid, int32_t shapeCode);

const CatalogueSolid& FindSolid(const std::string& family);

// The faces of a solid as 0-based vertex lists, in table order.
std::vector<std::vector<int32_t>> SolidFaces(const CatalogueSolid& solid);

}  // namespace nets
