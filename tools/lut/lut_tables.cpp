#include "lut_tables.h"

#include <cmath>

#include "lut_equal_area.h"
#include "lut_polygon.h"
#include "lut_polyhedra.h"
#include "lut_reuleaux.h"
#include "lut_winkel.h"

namespace lut {
namespace {

constexpr double kPi = 3.141592653589793;

// ---- polygons onto the disk -------------------------------------------------

// Peirce: the square [-1, 1]^2 onto the disk, corners to e^(i pi/4) and its
// turns; the table is the quarter [0, 1]^2 at (x, y) / 49.
bool PeirceCell(int x, int y, double out[3]) {
  static const PolygonMap square = MakePolygonMap(4, 1.0);
  cplx w;
  if (!DiskPointOf(square, cplx(x, y) / 49.0, &w)) return false;
  out[0] = w.real();
  out[1] = w.imag();
  return true;
}

// A polygon's sector triangle: the centre O (b0), the edge midpoint M (b1)
// and the corner V clockwise of it (b2); (b0, b2) = (x, y) / 49. `beyond`
// says what cells past the hypotenuse b0 + b2 = 1 hold: the map carried on
// (the whole parallelogram lies in the polygon) or the marker (-1, -1).
bool SectorCell(const PolygonMap& map, bool carryOn, int x, int y, double out[3]) {
  const double b0 = x / 49.0, b2 = y / 49.0;
  if (!carryOn && x + y > 49) {
    out[0] = out[1] = -1.0;
    return true;
  }
  const cplx m = PolygonRimPoint(map, 0), v = PolygonRimPoint(map, -1);
  const cplx p = m + b0 * (0.0 - m) + b2 * (v - m);
  cplx w;
  if (!DiskPointOf(map, p, &w)) return false;
  out[0] = w.real();
  out[1] = w.imag();
  return true;
}

bool DecantCell(int x, int y, double out[3]) {
  static const PolygonMap pentagon = MakePolygonMap(5, -1.0);
  return SectorCell(pentagon, true, x, y, out);
}

bool SextantCell(int x, int y, double out[3]) {
  static const PolygonMap triangle = MakePolygonMap(3, -1.0);
  return SectorCell(triangle, false, x, y, out);
}

bool DodecantCell(int x, int y, double out[3]) {
  static const PolygonMap hexagon = MakePolygonMap(6, std::polar(1.0, kPi / 6.0));
  return SectorCell(hexagon, false, x, y, out);
}

bool NuOctantCell(int x, int y, double out[3]) {
  static const PolygonMap diamond = MakePolygonMap(4, std::polar(1.0, kPi / 4.0));
  return SectorCell(diamond, true, x, y, out);
}

// ---- faces of polyhedra -------------------------------------------------------

// The barycentric warp of a triangle (a, b, c) of a flat face: the
// barycentrics, in the same triangle, of the central view of the face's
// conformal image on the sphere.
bool WarpedBarycentrics(const FaceMap& face, cplx a, cplx b, cplx c, double b0, double b2, double out[3]) {
  const cplx p = b0 * a + (1.0 - b0 - b2) * b + b2 * c;
  double s[3];
  if (!SpherePointOfFlatPoint(face, p, s) || !(s[2] > 0.0)) return false;
  Barycentrics(GnomonicOnFace(face, s), a, b, c, out);
  return true;
}

// Whole faces, corners (b0, b1, b2); (b2, b0) = (x, y) / 49 in, (b2', b0') out.
bool WholeFaceCell(const FaceMap& face, int x, int y, double out[3]) {
  double b[3];
  if (!WarpedBarycentrics(face, FlatCorner(face, 0), FlatCorner(face, 1), FlatCorner(face, 2), y / 49.0, x / 49.0, b))
    return false;
  out[0] = b[2];
  out[1] = b[0];
  return true;
}

bool IcofaceCell(int x, int y, double out[3]) {
  static const FaceMap face = MakeFaceMap(Solid::Icosahedron, 0.0);
  return WholeFaceCell(face, x, y, out);
}

bool OctafaceCell(int x, int y, double out[3]) {
  static const FaceMap face = MakeFaceMap(Solid::Octahedron, 0.0);
  return WholeFaceCell(face, x, y, out);
}

// The tetrahedron's face in sixths: centre C (b0), edge midpoint E (b1),
// corner V (b2); (b2, b0) = (x, y) / 49 in, (b2', b0') out. The extra
// diagonal of the layout lies past the median C-V, in the next sixth.
bool TetfaceSextantCell(int x, int y, double out[3]) {
  static const FaceMap face = MakeFaceMap(Solid::Tetrahedron, 0.0);
  double b[3];
  if (!WarpedBarycentrics(face, 0.0, FlatEdgeMidpoint(face, 0), FlatCorner(face, 0), y / 49.0, x / 49.0, b))
    return false;
  out[0] = b[2];
  out[1] = b[0];
  return true;
}

// The dodecahedron's pentagon in tenths: centre C (b0), edge midpoint E
// (b1), corner V (b2); (b1, b2) = (x, y) / 29 in, (b2', b1') out.
bool DodecDecantCell(int x, int y, double out[3]) {
  static const FaceMap face = MakeFaceMap(Solid::Dodecahedron, 0.0);
  const double b1 = x / 29.0, b2 = y / 29.0;
  double b[3];
  if (!WarpedBarycentrics(face, 0.0, FlatEdgeMidpoint(face, 0), FlatCorner(face, 0), 1.0 - b1 - b2, b2, b))
    return false;
  out[0] = b[2];
  out[1] = b[1];
  return true;
}

// The cube's face [-1, 1]^2 onto its sphere face; the quarter [0, 1]^2 at
// (x, y) / 49 holds minus the sphere point's x and y.
bool SphereCubeCell(int x, int y, double out[3]) {
  static const FaceMap face = MakeFaceMap(Solid::Cube, kPi / 4.0);
  // The flat face has circumradius 1, so its half width is 1/sqrt(2).
  double s[3];
  if (!SpherePointOfFlatPoint(face, cplx(x, y) / (49.0 * std::sqrt(2.0)), s)) return false;
  out[0] = -s[0];
  out[1] = -s[1];
  return true;
}

// ---- Reuleaux ---------------------------------------------------------------

// The sector (O, M, T) of lut_reuleaux.h: M is b1, T is b2, O is b0;
// (b2, b0) = (x, y) / 50.
cplx ReuleauxPoint(int x, int y) {
  const ReuleauxSector s = TheReuleauxSector();
  const double b2 = x / 50.0, b0 = y / 50.0;
  return b0 * s.centre + (1.0 - b0 - b2) * s.arcMidpoint + b2 * s.corner;
}

bool ReuleauxCircleCell(int x, int y, double out[3]) {
  cplx w;
  if (!ReuleauxToDisk(ReuleauxPoint(x, y), &w)) return false;
  out[0] = w.real();
  out[1] = w.imag();
  return true;
}

// The octahedron's face point, as the x and y that an orthographic lift
// takes back to the sphere.
bool ReuleauxOctofaceCell(int x, int y, double out[3]) {
  double s[3];
  if (!ReuleauxToOctahedronFace(ReuleauxPoint(x, y), s) || !(s[2] > 0.0)) return false;
  out[0] = s[0];
  out[1] = s[1];
  return true;
}

// ---- Winkel Tripel, equal-area square ---------------------------------------

// The quadrant x in [0, pi/2 + 1], y in [0, pi/2] at (x, y) / 49 of its box:
// (lambda, phi). Cells are asked for row by row with columns rising, so each
// Newton run starts from the cell before it, or from the row below.
bool WinkelCell(int x, int y, double out[3]) {
  static double rowStartPhi = 0.0;
  static double last[2] = {0.0, 0.0};
  const double px = x / 49.0 * (kPi / 2.0 + 1.0), py = y / 49.0 * (kPi / 2.0);
  double lambda = x == 0 ? 0.0 : last[0];
  double phi = x == 0 ? rowStartPhi : last[1];
  if (!WinkelInverse(px, py, &lambda, &phi)) return false;
  if (x == 0) rowStartPhi = phi;
  last[0] = lambda;
  last[1] = phi;
  out[0] = lambda;
  out[1] = phi;
  return true;
}

bool EqualsquareaCell(int x, int y, double out[3]) {
  EqualAreaSquareToSphere(x / 49.0, y / 49.0, out);
  return true;
}

const TableDefinition kTables[] = {
    {"Peirce_octant_freezedried", "peirce_octant_table", 50, 4, 4,
     "The conformal map of the square [-1, 1]^2 onto the unit disk (corners to\n"
     "// e^(i pi/4) and its turns, the Schwarz-Christoffel map with modulus\n"
     "// 1/sqrt(2)), sampled on the quarter [0, 1]^2 at (x, y) / 49: the disk point.",
     PeirceCell},
    {"spherecube_octant_freezedried", "spherecube_octant_table", 50, 4, 4,
     "The conformal map of the cube's flat face [-1, 1]^2 onto its face on the\n"
     "// unit sphere (centre +z), sampled on the quarter [0, 1]^2 at (x, y) / 49:\n"
     "// minus the sphere point's x and y.",
     SphereCubeCell},
    {"pent_decant_freezedried", "pent_decant_table", 50, 2, 2,
     "The conformal map of the regular pentagon of inradius 1 onto the unit disk\n"
     "// (edge midpoint -1 kept), on its tenth: centre b0, edge midpoint -1 b1,\n"
     "// corner at 144 degrees b2, (b0, b2) = (x, y) / 49; past the hypotenuse\n"
     "// the map goes on into the next tenth. The disk point.",
     DecantCell},
    {"tri_sextant_freezedried", "tri_sextant_table", 50, 2, 2,
     "The conformal map of the equilateral triangle of inradius 1 onto the unit\n"
     "// disk (edge midpoint -1 kept), on its sixth: centre b0, edge midpoint -1\n"
     "// b1, corner at 120 degrees b2, (b0, b2) = (x, y) / 49. The disk point;\n"
     "// (-1, -1) past the hypotenuse, where no point of the sixth reads.",
     SextantCell},
    {"hex_dodecant_freezedried", "hex_dodecant_table", 50, 2, 2,
     "The conformal map of the regular hexagon of inradius 1 onto the unit disk\n"
     "// (edge midpoint e^(i pi/6) kept), on its twelfth: centre b0, edge midpoint\n"
     "// b1, corner at 0 degrees b2, (b0, b2) = (x, y) / 49. The disk point;\n"
     "// (-1, -1) past the hypotenuse, where no point of the twelfth reads.",
     DodecantCell},
    {"tetface_sextant_freezedried", "tetface_sextant_table", 50, 0, 2,
     "The conformal warp of a sixth of the tetrahedron's face: centre b0, edge\n"
     "// midpoint b1, corner b2; (b2, b0) = (x, y) / 49 in, and out the\n"
     "// barycentrics (b2, b0) of the central view of the face's conformal image\n"
     "// on the sphere. The extra diagonal lies in the next sixth.",
     TetfaceSextantCell},
    {"Reuleaux_sextant_freezedried", "reuleaux_sextant_table", 51, 0, 2,
     "The conformal map of the Reuleaux triangle onto the octahedron's face, on\n"
     "// the sector centre b0, arc midpoint b1 (60 degrees), corner b2 of the\n"
     "// touching equilateral triangle (0 degrees); (b2, b0) = (x, y) / 50. The\n"
     "// x and y of the sphere point (face centre +z, corners at 0, 120 and\n"
     "// 240 degrees); beyond the arc, the map mirrored in it.",
     ReuleauxOctofaceCell},
    {"Reuleaux_to_circle_freezedried", "reuleaux_to_circle_table", 51, 0, 2,
     "The conformal map of the Reuleaux triangle onto the unit disk (arc\n"
     "// midpoint at 60 degrees to e^(i pi/3), corners to 1, e^(2i pi/3),\n"
     "// e^(4i pi/3)), on the sector of Reuleaux_sextant_freezedried. The disk\n"
     "// point; beyond the arc, the map mirrored in it and in the rim.",
     ReuleauxCircleCell},
    {"nu_square_octant_freezedried", "nu_square_octant_table", 50, 2, 2,
     "The conformal map of the square of inradius 1 with corners on the axes\n"
     "// onto the unit disk (edge midpoint e^(i pi/4) kept), on its eighth:\n"
     "// centre b0, edge midpoint b1, corner at 0 degrees b2, (b0, b2) =\n"
     "// (x, y) / 49; past the hypotenuse the map goes on into the next eighth.",
     NuOctantCell},
    {"Winkel_Tripel_inverse_freezedried", "winkel_tripel_inverse_table", 50, 2, 2,
     "The inverse Winkel Tripel on the quadrant [0, pi/2 + 1] x [0, pi/2] of\n"
     "// its box at (x, y) / 49 of it: (lambda, phi). Beyond the map's outline the\n"
     "// forward formulas are carried on with lambda > pi, which the caller\n"
     "// takes as outside.",
     WinkelCell},
    {"peirceoid_quad_freezedried", "peirceoid_quad_table", 50, 2, 3,
     "The equal-area square (tools/lut/lut_equal_area.h): the unit-sphere point\n"
     "// of the quadrant [0, 1]^2 at (x, y) / 49.",
     EqualsquareaCell},
    {"complete_icoface_freezedried", "complete_icoface_table", 50, 1, 5,
     "The conformal warp of the icosahedron's face, corners b0, b1, b2;\n"
     "// (b2, b0) = (x, y) / 49 in, and out the barycentrics (b2, b0) of the\n"
     "// central view of the face's conformal image on the sphere.",
     IcofaceCell},
    {"octahedron_face_freezedried", "octahedron_face_table", 50, 1, 5,
     "The conformal warp of the octahedron's face, corners b0, b1, b2;\n"
     "// (b2, b0) = (x, y) / 49 in, and out the barycentrics (b2, b0) of the\n"
     "// central view of the face's conformal image on the sphere.",
     OctafaceCell},
    {"dodecface_decant_freezedried", "dodecface_decant_table", 30, 3, 2,
     "The conformal warp of a tenth of the dodecahedron's face: centre b0,\n"
     "// edge midpoint b1, corner b2; (b1, b2) = (x, y) / 29 in, and out the\n"
     "// barycentrics (b2, b1) of the central view of the face's conformal\n"
     "// image on the sphere.",
     DodecDecantCell},
};

}  // namespace

const TableDefinition* AllTables(int* count) {
  *count = int(sizeof(kTables) / sizeof(kTables[0]));
  return kTables;
}

}  // namespace lut
