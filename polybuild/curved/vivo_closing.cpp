#include "polybuild/curved/vivo_closing.h"

#include <algorithm>
#include <iterator>

#include "polyhedron/polyhedron_record.h"

namespace {

using VertexList = uint16_t[kPolyVertexListLength];

bool Contains(const VertexList& list, uint16_t v) { return std::find(std::begin(list), std::end(list), v) != std::end(list); }

int32_t SharedVertices(const VertexList& a, const VertexList& b) {
  if (b[0] == kPolyNoVertex16) return 0;
  int32_t count = 0;
  for (uint16_t v : a)
    if (v != kPolyNoVertex16 && Contains(b, v)) ++count;
  return count;
}

bool Touches(const VertexList& element, const VertexList& tag) {
  for (uint16_t v : element)
    if (v != kPolyNoVertex16 && Contains(tag, v)) return true;
  return false;
}

}  // namespace

void VivoClosingPass(polyhedron* poly) {
  if (!poly) return;
  std::fill(std::begin(poly->tagFacegroup), std::end(poly->tagFacegroup), int16_t{-1});
  for (auto& pair : poly->facegroupFragments) pair[0] = pair[1] = -1;
  int16_t group = -1;
  for (int32_t i = 0; i < kPolyElementTags - 1; ++i) {
    if (poly->tagVertexLists[i][0] == kPolyNoVertex16) continue;
    for (int32_t j = i + 1; j < kPolyElementTags; ++j) {
      if (SharedVertices(poly->tagVertexLists[i], poly->tagVertexLists[j]) < 2) continue;
      if (poly->tagFacegroup[i] == -1) poly->tagFacegroup[i] = ++group;
      poly->tagFacegroup[j] = poly->tagFacegroup[i];
    }
  }
  for (int32_t i = 0; i < kPolyElementTags; ++i) {
    if (poly->tagVertexLists[i][0] == kPolyNoVertex16) continue;
    int16_t* fragments = poly->facegroupFragments[i];
    for (int32_t f = 1; f <= kPolyMaxFragments; ++f) {
      if (!Touches(poly->sideVertexLists[f], poly->tagVertexLists[i])) continue;
      if (fragments[0] == -1) {
        fragments[0] = int16_t(f);
      } else if (fragments[1] == -1) {
        fragments[1] = int16_t(f);
      }
    }
  }
}
