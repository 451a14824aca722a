#include "polyhedron/catalogue_static.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "polyhedron/catalogue_nets.h"
#include "polyhedron/catalogue_solids.h"
#include "polyhedron/polyhedron_record.h"
#include "polyhedron/tables/shape_tables_lattice.h"
#include "polyhedron/tables/shape_tables_pointy.h"
#include "polyhedron/tables/shape_tables_reuleaux.h"
#include "polyhedron/tables/shape_tables_rhombus.h"
#include "polyhedron/tables/shape_tables_shark.h"
#include "polyhedron/tables/shape_tables_solid.h"
#include "polyhedron/tables/shape_tables_stars.h"
#include "polyhedron/tables/shape_tables_waffle.h"
#include "polyhedron/tables/shape_tables_zigzag.h"

namespace {

constexpr int32_t kUpFaceMostCorners = -1;
constexpr int32_t kCubeTopFace = 4;  // the cube's table lists its top face fifth

// A flat sector net: its faces are sectors that the shape's own sphere map
// warps, it names its solid vertices through a map, and it is folded
// without origami marks.
template <size_t N2, size_t NR, size_t N3, size_t NM>
constexpr StaticShapeEntry SectorNet(int32_t code, const double (&coords2D)[N2][2], const int16_t (&rows)[NR],
                                     const double (&coords3D)[N3][3], const int16_t (&map)[NM], int32_t faces) {
  StaticShapeEntry e{code, coords2D, rows, int32_t(NR), coords3D, nullptr, 0, faces, 0, 0, 1, kUpFaceMostCorners};
  e.map2Dto3D = map;
  e.map2Dto3DLength = int32_t(NM);
  e.origamiTabOption = 1;
  return e;
}

// A net drawn straight on its solid, whose points name their solid vertices
// through a map.
template <size_t N2, size_t NR, size_t N3, size_t NM>
constexpr StaticShapeEntry MappedNet(int32_t code, const double (&coords2D)[N2][2], const int16_t (&rows)[NR],
                                     const double (&coords3D)[N3][3], const int16_t (&map)[NM], int32_t faces,
                                     uint8_t mirrorFlipA) {
  StaticShapeEntry e{code, coords2D, rows, int32_t(NR), coords3D, nullptr, 0, faces, mirrorFlipA, 0, 0,
                     kUpFaceMostCorners};
  e.map2Dto3D = map;
  e.map2Dto3DLength = int32_t(NM);
  return e;
}

// The cube in eighths, drawn through the cube warp; flip B mirrors its
// render points. The cross shows the cube's upper half, which the segment
// stretch opens to the whole sphere.
constexpr StaticShapeEntry CubeEighths(int32_t code, const int16_t* rows, int32_t rowsLength, int32_t faces,
                                       bool upperHalf) {
  StaticShapeEntry e{code, shuriken_Coords2D, rows, rowsLength, shuriken_Coords3D, nullptr, 0, faces, 0, 0, 1,
                     kUpFaceMostCorners};
  e.map2Dto3D = shuriken_2D_to_3D;
  e.map2Dto3DLength = int32_t(std::size(shuriken_2D_to_3D));
  e.mirrorFlipB = 1;
  e.origamiTabOption = 1;
  if (upperHalf) {
    e.segmentStretch = 1;
    e.segmentStretchAlpha = 0.5;
  }
  return e;
}

// The cube in eighths stood on a corner, drawn through the cube warp and
// mirrored by flip B like the shuriken. The monozag shows half the cube,
// which the segment stretch opens to the whole sphere.
constexpr StaticShapeEntry CubeOnACorner(int32_t code, const int16_t* rows, int32_t rowsLength, int32_t faces,
                                         bool half) {
  StaticShapeEntry e{code, zigzag_Coords2D, rows, rowsLength, zigzag_Coords3D, nullptr, 0, faces, 0, 0, 1,
                     kUpFaceMostCorners};
  e.map2Dto3D = zigzag_2D_to_3D;
  e.map2Dto3DLength = int32_t(std::size(zigzag_2D_to_3D));
  e.mirrorFlipB = 1;
  e.origamiTabOption = 1;
  if (half) {
    e.segmentStretch = 1;
    e.segmentStretchAlpha = 0.5;
  }
  return e;
}

// The tiling wraps every point of the plane into this one tile, so no row
// band may leave any of its faces out of the search.
constexpr StaticShapeEntry TilingTetrahedron() {
  StaticShapeEntry e = MappedNet(24, TilingTetrahedron_Coords2D, TilingTetrahedron_Faces2D, Tetranew_Coords3D,
                                 TilingTetrahedron_2D_to_3D, 8, 1);
  e.bandCulling = 0;
  return e;
}

constexpr StaticShapeEntry WithMirrorFlipB(StaticShapeEntry e) {
  e.mirrorFlipB = 1;
  return e;
}

// The phenanthrene-like net as the florets cram it: into its own box.
constexpr StaticShapeEntry CrammedPhenathene() {
  StaticShapeEntry e = SectorNet(68, Phenathene_Coords2D, Phenathene_Faces2D, Phenathene_Coords3D,
                                 Phenathene_2D_to_3D, 36);
  e.cramMode2 = 1;
  const float box[4] = {-1.732051f, 1.732051f, -3.0f, 1.0f};
  for (int i = 0; i < 4; ++i) e.cramBounds[i] = box[i];
  return e;
}

// A Reuleaux net: sectors of Reuleaux faces, mirrored by flip B (the sphere
// maps turn the face's points back), framed by the bounds of the faces they
// show rather than by the triangles round them.
template <size_t N2, size_t NR, size_t N3, size_t NM>
constexpr StaticShapeEntry ReuleauxNet(int32_t code, const double (&coords2D)[N2][2], const int16_t (&rows)[NR],
                                       const double (&coords3D)[N3][3], const int16_t (&map)[NM], int32_t faces,
                                       float xMin, float xMax, float yMin, float yMax) {
  StaticShapeEntry e = SectorNet(code, coords2D, rows, coords3D, map, faces);
  e.mirrorFlipB = 1;
  e.cramMode2 = 1;
  e.cramBounds[0] = xMin;
  e.cramBounds[1] = xMax;
  e.cramBounds[2] = yMin;
  e.cramBounds[3] = yMax;
  return e;
}

// One row per code, in code order: tables, face count, then mirrorFlipA,
// exportFlipFirstAxis, warpStyle and upFace.
constexpr StaticShapeEntry kStaticShapes[] = {
    {0, twofour_Coords2D, twofour_Faces2D, int32_t(std::size(twofour_Faces2D)), twofour_Coords3D, twofour_Faces3D,
     int32_t(std::size(twofour_Faces3D)), 24, 0, 1, 0, kUpFaceMostCorners},
    {1, twosix_Coords2D, twosix_Faces2D, int32_t(std::size(twosix_Faces2D)), twosix_Coords3D, twosix_Faces3D,
     int32_t(std::size(twosix_Faces3D)), 26, 1, 0, 0, kUpFaceMostCorners},
    {2, soccerCoord2D, soccerFaces2D, int32_t(std::size(soccerFaces2D)), soccerCoord3D, soccerFaces3D,
     int32_t(std::size(soccerFaces3D)), 32, 1, 0, 0, kUpFaceMostCorners},
    {3, threetwo_Coords2D, threetwo_Faces2D, int32_t(std::size(threetwo_Faces2D)), threetwo_Coords3D,
     threetwo_Faces3D, int32_t(std::size(threetwo_Faces3D)), 32, 0, 1, 0, kUpFaceMostCorners},
    {4, threeeight_Coords2D, threeeight_Faces2D, int32_t(std::size(threeeight_Faces2D)), threeeight_Coords3D,
     threeeight_Faces3D, int32_t(std::size(threeeight_Faces3D)), 38, 0, 1, 0, kUpFaceMostCorners},
    {5, sixzero_Coords2D, sixzero_Faces2D, int32_t(std::size(sixzero_Faces2D)), sixzero_Coords3D, sixzero_Faces3D,
     int32_t(std::size(sixzero_Faces3D)), 60, 0, 1, 0, kUpFaceMostCorners},
    {6, sixtwo_Coords2D, sixtwo_Faces2D, int32_t(std::size(sixtwo_Faces2D)), sixtwo_Coords3D, sixtwo_Faces3D,
     int32_t(std::size(sixtwo_Faces3D)), 62, 0, 1, 0, kUpFaceMostCorners},
    {7, OneFour_Coords2D, OneFour_Faces2D, int32_t(std::size(OneFour_Faces2D)), OneFour_Coords3D, OneFour_Faces3D,
     int32_t(std::size(OneFour_Faces3D)), 14, 1, 0, 0, kUpFaceMostCorners},
    {8, ThreeZero_Coords2D, ThreeZero_Faces2D, int32_t(std::size(ThreeZero_Faces2D)), ThreeZero_Coords3D,
     ThreeZero_Faces3D, int32_t(std::size(ThreeZero_Faces3D)), 30, 0, 1, 0, kUpFaceMostCorners},
    // The dodecahedron: the regular solid and its own net.
    {9, NewDodec_Coords2D, NewDodec_Faces2D, int32_t(std::size(NewDodec_Faces2D)), NewDodec_Coords3D,
     NewDodec_Faces3D, int32_t(std::size(NewDodec_Faces3D)), 12, 0, 1, 0, kUpFaceMostCorners},
    // The balloon: gores and a cap cut apart.
    {.shapeCode = 10, .coords2D = Balloon_Coords2D, .faces2DRows = Balloon_Faces2D,
     .rows2DLength = int32_t(std::size(Balloon_Faces2D)), .coords3D = Balloon_Coords3D, .faces3DRows = nullptr,
     .rows3DLength = 0, .faceCount = 33, .mirrorFlipA = 0, .exportFlipFirstAxis = 0, .warpStyle = 0,
     .upFace = kUpFaceMostCorners, .map2Dto3D = Balloon_2D_to_3D,
     .map2Dto3DLength = int32_t(std::size(Balloon_2D_to_3D)), .mirrorFlipB = 1},
    // The paperlock: pieces of the flat equirectangular sheet, read as map
    // points rather than carried onto a solid.
    {.shapeCode = 11, .coords2D = paperlock_Coords2D, .faces2DRows = paperlock_Faces2D,
     .rows2DLength = int32_t(std::size(paperlock_Faces2D)), .coords3D = paperlock_Coords3D, .faces3DRows = nullptr,
     .rows3DLength = 0, .faceCount = 13, .mirrorFlipA = 0, .exportFlipFirstAxis = 0, .warpStyle = 0,
     .upFace = kUpFaceMostCorners, .map2Dto3D = paperlock_2D_to_3D,
     .map2Dto3DLength = int32_t(std::size(paperlock_2D_to_3D)), .mirrorFlipB = 1, .sphericalFlag = 2},
    {12, PentTwoFour_Coords2D, PentTwoFour_Faces2D, int32_t(std::size(PentTwoFour_Faces2D)), PentTwoFour_Coords3D,
     PentTwoFour_Faces3D, int32_t(std::size(PentTwoFour_Faces3D)), 24, 1, 0, 0, kUpFaceMostCorners},
    // The spikeball: the pentagonal hexecontahedron, its net ten sawtooth
    // strips of six faces.
    {.shapeCode = 13, .coords2D = FiveTets_Coords2D, .faces2DRows = FiveTets_Faces2D,
     .rows2DLength = int32_t(std::size(FiveTets_Faces2D)), .coords3D = FiveTets_Coords3D,
     .faces3DRows = FiveTets_Faces3D, .rows3DLength = int32_t(std::size(FiveTets_Faces3D)), .faceCount = 60,
     .mirrorFlipA = 1, .exportFlipFirstAxis = 0, .warpStyle = 0, .upFace = kUpFaceMostCorners, .tabStyle = 1},
    // The beanbag: a tetrahedron's four faces apart.
    {.shapeCode = 15, .coords2D = beanbag_Coords2D, .faces2DRows = beanbag_Faces2D,
     .rows2DLength = int32_t(std::size(beanbag_Faces2D)), .coords3D = beanbag_Coords3D, .faces3DRows = nullptr,
     .rows3DLength = 0, .faceCount = 4, .mirrorFlipA = 0, .exportFlipFirstAxis = 0, .warpStyle = 0,
     .upFace = kUpFaceMostCorners, .map2Dto3D = beanbag_2D_to_3D,
     .map2Dto3DLength = int32_t(std::size(beanbag_2D_to_3D))},
    {16, Tetranew_Coords2D, Tetranew_Faces2D, int32_t(std::size(Tetranew_Faces2D)), Tetranew_Coords3D,
     Tetranew_Faces3D, int32_t(std::size(Tetranew_Faces3D)), 4, 1, 0, 0, kUpFaceMostCorners},
    {17, NewIco_Coords2D, NewIco_Faces2D, int32_t(std::size(NewIco_Faces2D)), NewIco_Coords3D, NewIco_Faces3D,
     int32_t(std::size(NewIco_Faces3D)), 20, 0, 0, 0, kUpFaceMostCorners},
    // The horizontal cross.
    {18, NewCube_Coords2D, NewCube_Faces2D, int32_t(std::size(NewCube_Faces2D)), NewCube_Coords3D, NewCube_Faces3D,
     int32_t(std::size(NewCube_Faces3D)), 6, 1, 0, 0, kCubeTopFace},
    {19, NewOcto_Coords2D, NewOcto_Faces2D, int32_t(std::size(NewOcto_Faces2D)), NewOcto_Coords3D, NewOcto_Faces3D,
     int32_t(std::size(NewOcto_Faces3D)), 8, 1, 0, 0, kUpFaceMostCorners},
    // The dodo: the dodecahedron cut into a decagon and five quadrilaterals
    // a face, its net in twelve groups that each find their solid face from
    // their decagon.
    {.shapeCode = 20, .coords2D = dodo_Coords2D, .faces2DRows = dodo_Faces2D,
     .rows2DLength = int32_t(std::size(dodo_Faces2D)), .coords3D = dodo_Coords3D, .faces3DRows = dodo_Faces3D,
     .rows3DLength = int32_t(std::size(dodo_Faces3D)), .faceCount = 72, .mirrorFlipA = 1, .exportFlipFirstAxis = 0,
     .warpStyle = 0, .upFace = kUpFaceMostCorners},
    // The GID: the dodecahedron's faces each cut into a central pentagon and
    // a ring of ten, its net in twelve groups found from their centres.
    {.shapeCode = 21, .coords2D = GID_Coords2D, .faces2DRows = GID_Faces2D,
     .rows2DLength = int32_t(std::size(GID_Faces2D)), .coords3D = GID_Coords3D, .faces3DRows = GID_Faces3D,
     .rows3DLength = int32_t(std::size(GID_Faces3D)), .faceCount = 132, .mirrorFlipA = 1, .exportFlipFirstAxis = 0,
     .warpStyle = 0, .upFace = kUpFaceMostCorners, .tabPhaseFlip = 1},
    // The older icosahedron net (a strip) on the same solid as 17.
    {23, OldIco_Coords2D, OldIco_Faces2D, int32_t(std::size(OldIco_Faces2D)), NewIco_Coords3D, NewIco_Faces3D,
     int32_t(std::size(NewIco_Faces3D)), 20, 0, 1, 0, kUpFaceMostCorners},
    // The tetrahedron's tile of the plane (the tiling mode shears it back).
    TilingTetrahedron(),
    // The octahedron opened into a square.
    MappedNet(28, Square_Coords2D, Square_Faces2D, Square_Coords3D, Square_2D_to_3D, 8, 0),
    // The box: three faces of the cube round one corner.
    {.shapeCode = 29, .coords2D = Box_Coords2D, .faces2DRows = Box_Faces2D,
     .rows2DLength = int32_t(std::size(Box_Faces2D)), .coords3D = Box_Coords3D, .faces3DRows = nullptr,
     .rows3DLength = 0, .faceCount = 3, .mirrorFlipA = 0, .exportFlipFirstAxis = 0, .warpStyle = 0,
     .upFace = kUpFaceMostCorners, .map2Dto3D = Box_2D_to_3D, .map2Dto3DLength = int32_t(std::size(Box_2D_to_3D)),
     .origamiTabOption = 1},
    SectorNet(30, fivestar_Coords2D, fivestar_Faces2D, fivestar_Coords3D, fivestar_2D_to_3D, 20),
    // The pentagon: the five-star's first ten sectors.
    SectorNet(31, fivestar_Coords2D, fivestar_Faces2D, fivestar_Coords3D, fivestar_2D_to_3D, 10),
    SectorNet(32, threestar_Coords2D, threestar_Faces2D, threestar_Coords3D, threestar_2D_to_3D, 12),
    SectorNet(33, triangle_Coords2D, threestar_Faces2D, threestar_Coords3D, threestar_2D_to_3D, 6),
    // The first rhombus: a hemisphere on each side of its long diagonal.
    SectorNet(34, rhombus_Coords2D, rhombus_Faces2D, rhombus_Coords3D, rhombus_2D_to_3D, 4),
    SectorNet(35, bipolar_rhombus_Coords2D, bipolar_rhombus_Faces2D, bipolar_rhombus_Coords3D,
              bipolar_rhombus_2D_to_3D, 12),
    SectorNet(36, sixstar_Coords2D, sixstar_Faces2D, sixstar_Coords3D, sixstar_2D_to_3D, 24),
    SectorNet(37, hexagon_Coords2D, sixstar_Faces2D, sixstar_Coords3D, sixstar_2D_to_3D, 12),
    // The tetrahedron in sixths: one triangle, and the rectangle on its points.
    WithMirrorFlipB(SectorNet(38, conformaltetrahedron_Coords2D, conformaltetrahedron_Faces2D,
                              conformaltetrahedron_Coords3D, conformaltetrahedron_2D_to_3D, 24)),
    WithMirrorFlipB(SectorNet(39, conformaltetrahedron_Coords2D, rectangulartetrahedron_Faces2D,
                              conformaltetrahedron_Coords3D, conformaltetrahedron_2D_to_3D, 24)),
    SectorNet(40, Pentalene_Coords2D, Pentalene_Faces2D, Pentalene_Coords3D, Pentalene_2D_to_3D, 20),
    SectorNet(41, Naphthalene_Coords2D, Naphthalene_Faces2D, Naphthalene_Coords3D, Naphthalene_2D_to_3D, 24),
    SectorNet(42, Phenathene_Coords2D, Phenathene_Faces2D, Phenathene_Coords3D, Phenathene_2D_to_3D, 36),
    CubeEighths(43, shuriken_Faces2D, int32_t(std::size(shuriken_Faces2D)), 48, false),
    CubeOnACorner(46, zigzag_Faces2D, int32_t(std::size(zigzag_Faces2D)), 48, false),
    CubeOnACorner(47, monozag_Faces2D, int32_t(std::size(monozag_Faces2D)), 24, true),
    CubeOnACorner(51, monozag_Faces2D, int32_t(std::size(monozag_Faces2D)), 24, true),
    ReuleauxNet(52, Reuleaux1_Coords2D, Reuleaux1_Faces2D, ReuleauxTetrahedron_Coords3D, Reuleaux1_2D_to_3D, 6,
                -0.594388f, 0.594388f, -0.684105f, 0.502879f),
    ReuleauxNet(53, Reuleaux2_Coords2D, Reuleaux2_Faces2D, ReuleauxTetrahedron_Coords3D,
                ReuleauxTetrahedron_2D_to_3D, 12, -1.688241f, 0.688918f, -0.597432f, 0.597432f),
    // The tetrahedron in sixths, each face a Reuleaux face.
    ReuleauxNet(54, Reuleaux4_Coords2D, conformaltetrahedron_Faces2D, ReuleauxTetrahedron_Coords3D,
                ReuleauxTetrahedron_2D_to_3D, 24, -1.464807f, 1.464807f, -1.687953f, 1.006703f),
    // Eight faces on the octahedron's, through the Reuleaux triangle's map onto
    // its face and through the octahedron's own curved faces.
    ReuleauxNet(55, Reuleaux8_Coords2D, Reuleaux8_Faces2D, ReuleauxTetrahedron_Coords3D, Reuleaux8_2D_to_3D, 48,
                -1.717542f, 3.155323f, -0.665468f, 1.712015f),
    ReuleauxNet(56, Octreleaux_Coords2D, Octreleaux_Faces2D, OctreleauxOctahedron_Coords3D, Octreleaux_2D_to_3D, 48,
                -1.951145f, 3.677683f, -0.792059f, 1.943672f),
    CubeEighths(57, cross_Faces2D, int32_t(std::size(cross_Faces2D)), 24, true),
    WithMirrorFlipB(
        SectorNet(58, adamsdiamonds_Coords2D, adamsdiamonds_Faces2D, adamsdiamonds_Coords3D, adamsdiamonds_2D_to_3D, 16)),
    // Two opposite lunes of the sphere, each drawn twice.
    SectorNet(59, pointy_Coords2D, pointy_Faces2D, pointy_Coords3D, pointy_2D_to_3D, 8),
    // The cube in eighths twice: the front half of the sphere, and the back
    // half on the second cube's halves beside it. Flip B as the cube's.
    WithMirrorFlipB(SectorNet(60, waffle_Coords2D, waffle_Faces2D, waffle_Coords3D, waffle_2D_to_3D, 96)),
    CubeEighths(61, shuriken_Faces2D, int32_t(std::size(shuriken_Faces2D)), 48, false),
    // The three-petal floret's solid: the waffle's sphere map on a net of
    // its own, the quarter of the sphere a petal reads drawn about the nadir.
    WithMirrorFlipB(SectorNet(62, trident_Coords2D, trident_Faces2D, trident_Coords3D, trident_2D_to_3D, 96)),
    SectorNet(63, sixstar_Coords2D, sixstar_Faces2D, sixstar_Coords3D, sixstar_2D_to_3D, 24),
    CubeOnACorner(64, zigzag_Faces2D, int32_t(std::size(zigzag_Faces2D)), 48, false),
    // The shark florets' solid: the icosahedron turned to the petal's pole,
    // on a net of its own that lays the half sphere a petal reads to the
    // right of the net's centre.
    {.shapeCode = 65, .coords2D = shark_Coords2D, .faces2DRows = shark_Faces2D,
     .rows2DLength = int32_t(std::size(shark_Faces2D)), .coords3D = shark_Coords3D, .faces3DRows = NewIco_Faces3D,
     .rows3DLength = int32_t(std::size(NewIco_Faces3D)), .faceCount = 20, .mirrorFlipA = 0,
     .exportFlipFirstAxis = 0, .warpStyle = 1, .upFace = kUpFaceMostCorners, .map2Dto3D = shark_2D_to_3D,
     .map2Dto3DLength = int32_t(std::size(shark_2D_to_3D))},
    // The icosahedron's sunburst, warped like 65.
    {66, sunburst_Coords2D, sunburst_Faces2D, int32_t(std::size(sunburst_Faces2D)), NewIco_Coords3D, NewIco_Faces3D,
     int32_t(std::size(NewIco_Faces3D)), 20, 0, 0, 1, kUpFaceMostCorners},
    {67, NewOcto_Coords2D, NewOcto_Faces2D, int32_t(std::size(NewOcto_Faces2D)), NewOcto_Coords3D, NewOcto_Faces3D,
     int32_t(std::size(NewOcto_Faces3D)), 8, 1, 0, 1, kUpFaceMostCorners},
    CrammedPhenathene(),
    SectorNet(69, Phenathene_Coords2D, Anthracene_Faces2D, Anthracene_Coords3D, Anthracene_2D_to_3D, 36),
    // The dodecahedron cut into tenths for its conformal warp, on the net of
    // shape 9, whose glue tabs and export plan it borrows.
    {.shapeCode = 70, .coords2D = conformal_dodecahedron_Coords2D, .faces2DRows = conformal_dodecahedron_Faces2D,
     .rows2DLength = int32_t(std::size(conformal_dodecahedron_Faces2D)), .coords3D = conformal_dodecahedron_Coords3D,
     .faces3DRows = conformal_dodecahedron_Faces3D, .rows3DLength = int32_t(std::size(conformal_dodecahedron_Faces3D)),
     .faceCount = 120, .mirrorFlipA = 0, .exportFlipFirstAxis = 1, .warpStyle = 1, .upFace = kUpFaceMostCorners,
     .map2Dto3D = conformal_dodecahedron_2D_to_3D,
     .map2Dto3DLength = int32_t(std::size(conformal_dodecahedron_2D_to_3D)),
     .facegroupTable = conformal_dodecahedron_hardcoded_Facegrouptable, .origamiTabOption = 1,
     .exportPlanShape = 9},
    // The vertical cross: the cube's points, its own rows.
    {73, NewCube_Coords2D, NewCube_Faces2D_vertical, int32_t(std::size(NewCube_Faces2D_vertical)), NewCube_Coords3D,
     NewCube_Faces3D, int32_t(std::size(NewCube_Faces3D)), 6, 1, 0, 0, kCubeTopFace},
    // The jewel: a triangular bipyramid whose net shows four of its faces.
    {.shapeCode = 79, .coords2D = Jewel_Coords2D, .faces2DRows = Jewel_Faces2D,
     .rows2DLength = int32_t(std::size(Jewel_Faces2D)), .coords3D = Jewel_Coords3D, .faces3DRows = Jewel_Faces3D,
     .rows3DLength = int32_t(std::size(Jewel_Faces3D)), .faceCount = 6, .mirrorFlipA = 1, .exportFlipFirstAxis = 0,
     .warpStyle = 0, .upFace = kUpFaceMostCorners},
};

// Static shapes of the catalogue whose solid or net is not among the
// generated tables (none now; the list stays for a shape added without).
constexpr std::array<int32_t, 0> kStaticCodesWithoutTables{};

constexpr bool EntriesInCodeOrderWithinLimits() {
  for (size_t i = 0; i < std::size(kStaticShapes); ++i) {
    const StaticShapeEntry& e = kStaticShapes[i];
    if (i > 0 && e.shapeCode <= kStaticShapes[i - 1].shapeCode) return false;
    if (e.faceCount < 1 || e.faceCount > kPolyMaxFaces) return false;
    // Every face takes at least three corners and a closing zero; a net
    // may leave faces out with an empty row (a closing zero alone).
    if (e.rows2DLength < e.faceCount) return false;
    // The tables are judged by their lengths: whether a table from another
    // source file is there is no constant under the sanitizers.
    if (e.rows3DLength > 0 && e.rows3DLength < 4 * e.faceCount) return false;
    // A net without solid rows names its solid through the map (that the
    // map covers every point the rows number is tested with the tables).
    if (e.rows3DLength == 0 && e.map2Dto3DLength == 0) return false;
  }
  return true;
}
static_assert(EntriesInCodeOrderWithinLimits(), "static shapes in code order, face counts within the limits");

constexpr bool CodeListsApart() {
  for (size_t i = 1; i < std::size(kStaticCodesWithoutTables); ++i)
    if (kStaticCodesWithoutTables[i] <= kStaticCodesWithoutTables[i - 1]) return false;
  for (int32_t code : kStaticCodesWithoutTables)
    for (const StaticShapeEntry& e : kStaticShapes)
      if (e.shapeCode == code) return false;
  return true;
}
static_assert(CodeListsApart(), "a code either has its tables or is listed as missing them");

}  // namespace

const StaticShapeEntry* FindStaticShape(int32_t shapeCode) {
  for (const StaticShapeEntry& e : kStaticShapes)
    if (e.shapeCode == shapeCode) return &e;
  return nullptr;
}

bool StaticShapeTablesMissing(int32_t shapeCode) {
  return std::binary_search(std::begin(kStaticCodesWithoutTables), std::end(kStaticCodesWithoutTables), shapeCode);
}
