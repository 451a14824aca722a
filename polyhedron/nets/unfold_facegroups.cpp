#include "polyhedron/nets/unfold_facegroups.h"

#include <algorithm>

#include "polyhedron/polyhedron_record.h"
#include "polyhedron/vertex_maps.h"

namespace {

struct TagGroup {
  int8_t tag;
  int8_t group;
};

// Square and squircle boxes: the flat faces and the corner pieces.
constexpr TagGroup kBoxGroups[] = {{0, 0},  {1, 0},  {3, 0},  {5, 0},  {7, 0},  {2, 2},  {17, 2}, {4, 3},  {15, 3},
                                   {6, 4},  {13, 4}, {8, 5},  {11, 5}, {9, 1},  {10, 1}, {12, 1}, {14, 1}, {16, 1}};
constexpr TagGroup kTriboxGroups[] = {{2, 2}, {13, 2}, {4, 3}, {11, 3}, {6, 4}, {9, 4},
                                      {7, 1}, {8, 1},  {10, 1}, {12, 1}};
constexpr TagGroup kOctGroups[] = {
    {2, 11},  {20, 11}, {4, 10},  {34, 10}, {6, 12},  {9, 12},  {7, 1},   {8, 1},   {10, 1},  {12, 1},
    {11, 13}, {39, 13}, {13, 14}, {23, 14}, {14, 2},  {15, 2},  {17, 2},  {19, 2},  {16, 15}, {27, 15},
    {18, 16}, {46, 16}, {21, 3},  {22, 3},  {24, 3},  {26, 3},  {25, 17}, {53, 17}, {28, 4},  {29, 4},
    {31, 4},  {33, 4},  {30, 8},  {44, 8},  {32, 9},  {41, 9},  {35, 5},  {36, 5},  {38, 5},  {40, 5},
    {37, 19}, {55, 19}, {42, 6},  {43, 6},  {45, 6},  {47, 6},  {48, 18}, {51, 18}, {49, 7},  {50, 7},
    {52, 7},  {54, 7}};
constexpr int32_t kBoxOutsideGroup = 20;
constexpr int32_t kBoxSecondElementPiece = 1;
constexpr int32_t kBoxLastTag = 17;

bool OneFragmentBox(int32_t shapeCode) { return shapeCode == 176 || shapeCode == 180; }

template <size_t N>
int32_t Lookup(const TagGroup (&table)[N], int32_t tag, int32_t otherwise) {
  for (const TagGroup& row : table)
    if (row.tag == tag) return row.group;
  return otherwise;
}

}  // namespace

bool ShapeIsCurvedElement(int32_t shapeCode) { return shapeCode >= 161 && shapeCode <= 180; }

int32_t FacegroupOfElementTag(int32_t shapeCode, int32_t tag, const int16_t* tagFacegroup) {
  if (shapeCode >= 173 && shapeCode <= 180) {
    if (tag < 0 || tag > kBoxLastTag) return kBoxOutsideGroup;
    return Lookup(kBoxGroups, tag, 0);
  }
  if (shapeCode == 163 || shapeCode == 164) return Lookup(kTriboxGroups, tag, 0);
  if (shapeCode == 165 || shapeCode == 166) return Lookup(kOctGroups, tag, 0);
  const bool tabled = shapeCode == 161 || shapeCode == 162 || (shapeCode >= 167 && shapeCode <= 172);
  if (!tabled || !tagFacegroup) return 0;
  return tagFacegroup[std::clamp(tag, 0, kPolyElementTags - 1)];
}

int32_t PeirceHalfOfNetFace(const polyhedron* poly, int32_t face2D) {
  if (!poly || face2D < 0 || face2D >= kPolyMaxFaces) return 0;
  const PolyFace& f = poly->faces[face2D];
  if (!OneFragmentBox(poly->shapeCode)) return f.fragment;
  return VivoFacegroupOf3DFace(f.face3D, poly) == kBoxSecondElementPiece ? 2 : 1;
}

int32_t PeirceHalfOfNetTriangle(const polyhedron* poly, int32_t triangle) {
  if (!poly || triangle < 0 || triangle >= kPolyMaxTriangles) return 0;
  const NetTriangle& t = poly->triangles[triangle];
  return OneFragmentBox(poly->shapeCode) ? PeirceHalfOfNetFace(poly, t.face2D) : t.fragment;
}

int32_t NetVertexInPeirceHalf(const polyhedron* poly, int32_t v3D, int32_t half) {
  if (!poly || v3D < 0) return -1;
  for (int32_t f = 0; f < std::clamp(poly->n2DFaces, 0, kPolyMaxFaces); ++f) {
    if (PeirceHalfOfNetFace(poly, f) != half) continue;
    const PolyFace& face = poly->faces[f];
    for (int32_t j = 0; j < std::clamp(int32_t(face.n2D), 0, kPolyMaxCorners); ++j) {
      const int32_t v = face.vert2D[j];
      if (Vert_Index_2D_to_3D(poly, v) == v3D) return v;
    }
  }
  return -1;
}

int32_t VivoFacegroupOf3DFace(int32_t face, const polyhedron* poly) {
  if (!poly || !ShapeIsCurvedElement(poly->shapeCode)) return 0;
  if (face < 0 || face >= kPolyMaxFaces || face >= poly->n3DFaces) return 0;
  return FacegroupOfElementTag(poly->shapeCode, poly->faces[face].facegroup, poly->tagFacegroup);
}
