#include "polyhedron/catalogue_rows.h"

#include <algorithm>
#include <iterator>

namespace {

// Walks a row table face by face.
struct RowCursor {
  const int16_t* rows;
  int32_t length;
  int32_t at;
};

// The start of the next row (-1 when the table has no more) and the cursor
// moved past its closing 0.
int32_t NextRow(RowCursor* cursor) {
  if (!cursor->rows || cursor->at >= cursor->length) return -1;
  const int32_t start = cursor->at;
  while (cursor->at < cursor->length && cursor->rows[cursor->at] != 0) ++cursor->at;
  if (cursor->at < cursor->length) ++cursor->at;
  return start;
}

// Copies one row into a corner list (0-based, -1 beyond the corners) and
// returns the corner count; *highest grows to the largest number copied.
int32_t CopyRow(const RowCursor& cursor, int32_t start, int32_t corners[kPolyMaxCorners], int32_t* highest) {
  std::fill(corners, corners + kPolyMaxCorners, -1);
  if (start < 0) return 0;
  int32_t n = 0;
  for (int32_t at = start; at < cursor.length && cursor.rows[at] != 0 && n < kPolyMaxCorners; ++at) {
    corners[n++] = cursor.rows[at] - 1;
    *highest = std::max(*highest, int32_t(cursor.rows[at]));
  }
  return n;
}

}  // namespace

void LoadStaticFaceRows(polyhedron* poly, int32_t rows2DLength, int32_t rows3DLength) {
  if (!poly) return;
  poly->n3DFaces = std::clamp(poly->n3DFaces, 0, kPolyMaxFaces);
  RowCursor rows2D{poly->faces2DRows, rows2DLength, 0};
  RowCursor rows3D{poly->faces3DRows, rows3DLength, 0};
  int32_t highest2D = 0, highest3D = 0;
  for (int32_t k = 0; k < poly->n3DFaces; ++k) {
    PolyFace& face = poly->faces[k];
    face.n2D = CopyRow(rows2D, NextRow(&rows2D), face.vert2D, &highest2D);
    if (rows3D.rows) face.n3D = CopyRow(rows3D, NextRow(&rows3D), face.vert3D, &highest3D);
  }
  poly->n2DFaces = poly->n3DFaces;
  poly->n2DVerts = std::min(highest2D, kPolyMax2DVerts);
  if (rows3D.rows) poly->n3DVerts = std::min(highest3D, kPolyMax3DVerts);
  std::fill(std::begin(poly->vert2DUsed), std::end(poly->vert2DUsed), uint8_t{0});
  std::fill(std::begin(poly->vert3DOf2D), std::end(poly->vert3DOf2D), kPolyNoVertex16);
  std::fill(poly->vert2DUsed, poly->vert2DUsed + poly->n2DVerts, uint8_t{1});
}
