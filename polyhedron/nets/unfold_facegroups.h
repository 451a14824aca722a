// Face groups of the curved-element solids: each face carries its element
// tag, and the tag decides the piece. The unfolding reads them to grow a
// single-fragment net piece by piece, the export planning to lay pieces out. The Tribox, the curved octahedron and
// the boxes have fixed tables of pieces; the other codes read the table
// their builder's closing pass filled.
#pragma once

#include <cstdint>

struct polyhedron;

bool ShapeIsCurvedElement(int32_t shapeCode);
// The group of element tag `tag` on shape `shapeCode`; `tagFacegroup` is
// the polyhedron's table (kPolyElementTags entries), read for the codes without a fixed
// table. 0 for other shapes.
int32_t FacegroupOfElementTag(int32_t shapeCode, int32_t tag, const int16_t* tagFacegroup);
// The group of 3D face `face` from its tag; 0 for other solids and for a
// face index outside the solid.
int32_t VivoFacegroupOf3DFace(int32_t face, const polyhedron* poly);

// The boxes drawn as the two halves of a Peirce square read each half
// through three key vertices of its own. Their standard nets hold one half
// per fragment; their single-fragment nets hold the second element's flat
// piece (piece 1) as the second half, everything else as the first.
int32_t PeirceHalfOfNetFace(const polyhedron* poly, int32_t face2D);
int32_t PeirceHalfOfNetTriangle(const polyhedron* poly, int32_t triangle);
// The net vertex of solid vertex `v3D` among the net faces of half `half`
// (as PeirceHalfOfNetFace gives it), -1 for none.
int32_t NetVertexInPeirceHalf(const polyhedron* poly, int32_t v3D, int32_t half);
