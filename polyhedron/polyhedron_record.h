// The one shape model: a solid, its unfolded net, the net's triangles and the
// per-shape options, in a single flat block of fixed-size arrays. Every link
// inside the block is an index; only the four large coordinate and row arrays
// live outside it, either borrowed from the static shape tables or owned heap
// blocks (ownsArrays).
//
// The record is large (well over a megabyte): allocate it on the heap, never
// on the stack, and value-initialise it (`polyhedron{}` or zero fill) before
// NullifyPolyStorage and InitPoly.
//
// Winding and normals, the same for every solid, static or generated: a 3D
// face lists its corners counter-clockwise seen from outside the solid, so
// the right-hand normal of its corner order points out. PolyFace.normal is
// the other one: it is the cross product (towards the previous corner) x
// (towards the next corner) taken at a corner, the normal the Voronoi
// builder forms "around" a corner to orient its cells' faces (which it
// stores counter-clockwise from outside), and it points into the solid.
// Calc3DAngles keeps that sign at reflex corners by the winding of the face
// flattened with its normal turned to -z, which then shows the face as seen
// from outside, counter-clockwise, the way the net lays it. Static shapes
// get their normals from the set-up of an output mode, not from loading.
// A net that names its solid through map2Dto3D has no solid faces of its
// own: the renderer takes each net corner through the map (mirrored), so
// its solid faces are its net faces so taken. The sector nets that the warp
// reads list a sector's corners as centre, edge midpoint, corner, so every
// other sector runs clockwise; each still turns on the solid, seen from
// outside, as it turns in the net (the model export turns those round).
#pragma once

#include <cstdint>
#include <type_traits>

#include "platform/plugin_api.h"
#include "projection/planes.h"

struct Globals;

// ---- limits ----------------------------------------------------------------

constexpr int32_t kPolyMax2DVerts = 4010;
constexpr int32_t kPolyMax3DVerts = 4010;
constexpr int32_t kPolyMaxFaces = 1510;  // 2D and 3D faces share one index space
constexpr int32_t kPolyMaxTriangles = 3010;
constexpr int32_t kPolyMaxCorners = 10;  // a face has 3 to 10 corners
constexpr int32_t kPolyMinCorners = 3;
constexpr int32_t kPolyMaxFragments = 19;   // numbered 1..19; 0 is never built
constexpr int32_t kPolyFragmentSlots = 20;  // per-fragment arrays, indexed by fragment number
constexpr int32_t kPolyElementTags = 132;   // curved-element solids: 12 pentagons of 11 tags
constexpr int32_t kPolyMaxScissorMarks = 60;  // one per wing of the curved dodecahedron
constexpr int32_t kPolyFacegroupPairs = kPolyElementTags;
constexpr int32_t kPolyVertexListLength = 8;  // side and tag vertex lists
constexpr int32_t kPolyKey3DVerts = 20;
constexpr int32_t kPolyKey2DVerts = 6;
// modTables row n (1..9) holds i mod n for i = 0..19.
constexpr int32_t kPolyModRows = 10;
constexpr int32_t kPolyModColumns = 20;
// A face row is its 1-based vertex numbers and a closing 0, so a ten-corner
// face takes eleven entries; the owned row arrays leave room for every face
// to be that large.
constexpr int32_t kPolyFaceRowStride = kPolyMaxCorners + 1;
constexpr int32_t kPolyFaceRowEntries = kPolyMaxFaces * kPolyFaceRowStride;

constexpr uint16_t kPolyNoVertex16 = 65535;  // "none" in u16 vertex fields
constexpr int32_t kPolySetupCacheEmpty = -9999;
constexpr int32_t kPolyDefaultReattachFaceLimit = 10;

// ---- error codes of polyhedron.errorCode -----------------------------------

constexpr int32_t kPolyErrorNone = 0;
constexpr int32_t kPolyErrorTooMany2DFaces = 1;
constexpr int32_t kPolyErrorTooMany3DFaces = 2;
constexpr int32_t kPolyErrorRepeatedCorner = 3;
constexpr int32_t kPolyErrorNoRoomForTabs = 4;
constexpr int32_t kPolyErrorTooMany3DVerts = 5;
constexpr int32_t kPolyErrorNoFree2DVert = 6;
constexpr int32_t kPolyErrorTooManyTriangles = 7;
constexpr int32_t kPolyErrorDuplicateFace = 8;
constexpr int32_t kPolyErrorTooManyFragments = 9;
// The record has no owned arrays to write into: their allocation failed, or
// it borrows read-only static tables.
constexpr int32_t kPolyErrorNoStorage = 10;
// A face with fewer than three corners, or naming a 3D vertex that is not
// stored: building it would read outside the vertex arrays.
constexpr int32_t kPolyErrorBadFace = 11;
// The catalogue knows the shape code but cannot build the shape yet: its
// generator or its static tables are not part of the system. The shape is
// left empty.
constexpr int32_t kPolyErrorShapeNotAvailable = 12;

// ---- 3D edge flag bits of PolyFace.edgeFlags3D -----------------------------

constexpr int32_t kEdgeFlagCut = 1;
constexpr int32_t kEdgeFlagSliceA = 2;
constexpr int32_t kEdgeFlagSliceB = 4;
constexpr int32_t kEdgeFlagDisdained = 8;

// ---- sub-records -------------------------------------------------------------

struct PolyVertex2D {
  float x, y;                       // net position
  float renderX, renderY, renderZ;  // point on the solid, mirror flips applied
};

struct PolyFace {
  float orientationSign;  // -1, 0, +1: sign of normal · first corner before re-orienting
  float placedAngle;
  int32_t vert2D[kPolyMaxCorners];  // -1 = no corner
  int32_t vert3D[kPolyMaxCorners];
  float angle2D[kPolyMaxCorners];
  float angle3D[kPolyMaxCorners];
  float edgeAngle2D[kPolyMaxCorners];  // net edge to the next corner against +y, 0..pi
  int32_t n2D, n3D;                    // 3..10; 0 = empty slot
  uint8_t tabEdge[kPolyMaxCorners];
  uint8_t outlineVisited[kPolyMaxCorners];
  int32_t generation;
  int16_t fragment;                    // 0 = none
  int16_t facegroup;                   // -1 = none
  int32_t nbrFace2D[kPolyMaxCorners];  // across each 2D edge; -1 = open edge
  int32_t nbrEdge2D[kPolyMaxCorners];  // neighbour's corner holding this edge's start vertex
  int32_t nbrFace3D[kPolyMaxCorners];
  int32_t nbrEdge3D[kPolyMaxCorners];
  int32_t edgeFlags3D[kPolyMaxCorners];  // kEdgeFlag* bits
  int32_t exportMark;
  uint8_t isSeed;
  uint8_t dualVisited[kPolyMaxCorners];
  int32_t extraVertex;    // extra 3D vertex given with the face, -1 none
  int32_t extraVertex2D;  // 2D partner of a curved three-corner net face, -1 none
  int32_t siteIndex;      // Voronoi site, -1 none
  double point[3];
  int32_t face3D;        // 2D face: the 3D face it shows, -1 none
  int32_t cornerOffset;  // 2D corner j lies on 3D corner (j + cornerOffset) mod n
  int32_t netFace;       // 3D face: the net face made from it, -1 none
  double rindQuadS[3], rindQuadT[3];
  double normal[3];  // unit normal of the 3D face, pointing into the solid (see the top)
  double centroid[3];
  float centroidF[3];
  PLANED plane;  // through the first 3D corner with the normal
  // [0] hide flag of the 3D face, [1] hide flag of the net face, [2] slice
  // match flag consulted by the unfolding, [3] placed in the net.
  uint8_t placedFlags[4];
  uint8_t sliceWholeFace;
};

struct NetTriangle {
  int32_t vert2D[3];
  int16_t face2D;     // -1 none
  int16_t facegroup;  // -1 none
  int16_t fragment;
  uint8_t isTab;
  uint8_t tabEdge[3];
  uint8_t exportMark;
  uint8_t fancyFace;
  uint8_t hideFlag;
  float invDet;  // 1 / determinant of the net corners
  double corner3D[3][3];
};

struct ScissorMark {
  uint8_t inUse;
  int32_t pivotVertex;  // 3D vertex of the mark point
  int32_t tag;          // element tag below kPolyElementTags
  int32_t param;
  double value;
  int32_t verts3D[3];  // the three companion points
  double pivotPoint[3];
  PLANED plane;
};

// The inputs of the last polyhedron set-up, so that an unchanged request
// returns at once. Empty: outputMode kPolySetupCacheEmpty, aspect and
// tabDepth -1, the rest 0.
struct PolySetupCache {
  int32_t outputMode;
  float aspect;
  float tabDepth;
  uint32_t cramMode;
  float angle;
  uint32_t netMethod;
  uint8_t flagA;
  uint8_t flagB;
};

// The value record of Grab2DPoint and Set2DPoint.
struct DPoint {
  double x, y;
  int32_t vert3D;
  int32_t fragment;
  int32_t index;
  uint8_t used;
};

// ---- the record --------------------------------------------------------------

struct polyhedron {
  int32_t errorCode;  // kPolyError*; the last failure of a building step
  // Borrowed static tables or owned heap blocks; written only through the
  // Mutable* accessors, which refuse borrowed tables.
  const double (*coords2D)[2];
  const double (*coords3D)[3];
  const int16_t* faces2DRows;     // 1-based vertex numbers, each face ended by 0
  const int16_t* faces3DRows;     // may be null
  const int16_t* map2Dto3D;       // always borrowed; null unless the shape gives it
  const int16_t* facegroupTable;  // always borrowed
  uint8_t tabPhaseFlip;           // the outline walk's first edge gets no tab
  uint8_t correspondenceGiven;
  PolyVertex2D verts2D[kPolyMax2DVerts];
  int16_t faceCount2D[kPolyMax2DVerts];
  int16_t faceCount3D[kPolyMax3DVerts];
  uint16_t vert3DOf2D[kPolyMax2DVerts];   // 65535 = none
  int16_t fragmentOf2D[kPolyMax2DVerts];  // 0 = none
  uint8_t vert2DUsed[kPolyMax2DVerts];
  uint16_t freeVertCursor;
  NetTriangle triangles[kPolyMaxTriangles];
  PolyFace faces[kPolyMaxFaces];
  int32_t fragmentCount;
  int32_t bigFragmentCount;
  int32_t fragmentMode;
  double fragmentSpin[kPolyFragmentSlots];
  int32_t fragmentFaceCount[kPolyFragmentSlots];
  uint16_t sideVertexLists[kPolyFragmentSlots][kPolyVertexListLength];  // 65535 = empty
  uint16_t tagVertexLists[kPolyElementTags][kPolyVertexListLength];
  int16_t tagFacegroup[kPolyElementTags];
  int16_t facegroupFragments[kPolyFacegroupPairs][2];
  // [0] region from the 2D face's fragment, [1] 1 + facegroup of its 3D face,
  // [2] facegroup of the 2D face, [3] then map r >= 0 to -10001 - r.
  uint8_t regionRule[4];
  float targetRect[4];  // xMin, xMax, yMin, yMax
  float tabDepth;
  float snugglingScale;
  float unitScale[2];
  int32_t n2DVerts;  // high-water count: one more than the highest slot in use
  int32_t nTriangles;
  int32_t n3DFaces;
  int32_t unfoldingIndex;  // -1 none
  int32_t n2DFaces;
  int32_t n3DVerts;
  int16_t sphericalFlag;
  float netBounds[4];  // xMin, xMax, yMin, yMax
  float crammedSize[2];
  float centre[2];
  int32_t shapeCode;
  int32_t warpStyle;
  int32_t fancyPointMode;
  uint8_t mirrorFlipA;
  uint8_t mirrorFlipB;
  uint8_t tabStyle;
  uint8_t depthFirstPropagate;
  uint8_t skipOverlapTest;
  uint8_t exportFlipFirstAxis;
  uint8_t fragmentationRevisable;
  int32_t slicingMode;
  int32_t reattachFaceLimit;
  uint8_t ownsArrays;
  uint8_t segmentStretch;
  double segmentStretchAlpha;
  uint8_t bandCulling;
  uint8_t cramMode;
  uint8_t cramMode2;
  uint8_t sliceMatchFlag;
  BufferID bufferIds[4];  // coords2D, coords3D, faces2DRows, faces3DRows; 0 = plain memory
  double upVector[3];
  int32_t upFace;             // -1 = the face with the most corners
  float plannedPlacement[3];  // centre x, centre y, common scale of the plan
  int32_t origamiTabOption;
  int32_t spinStyle;
  float cramBounds[4];
  int32_t vert3DOfVert2D[kPolyMax2DVerts];
  int32_t exportPlanShape;  // -1 = this shape
  int32_t key3DVerts[kPolyKey3DVerts];
  int32_t key2DVerts[kPolyKey2DVerts];
  ScissorMark scissorMarks[kPolyMaxScissorMarks];
  int32_t scissorMarkOfTag[kPolyElementTags];  // -1 none
  int32_t scissorPair[kPolyElementTags][2];
  int32_t scissorMarkCount;
  int32_t modTables[kPolyModRows][kPolyModColumns];
  Globals* owner;
  PolySetupCache setupCache;
  // Kept by the set-up after the fit, and the Voronoi options word.
  float tabDepthBuilt;
  int32_t unfoldingBuilt;
  int32_t voronoiOption;
};

// The frame zero-fills the record inside its storage blocks and users
// value-initialise it: it must stay a plain record.
static_assert(std::is_trivially_copyable_v<polyhedron> && std::is_standard_layout_v<polyhedron>,
              "polyhedron is a plain record");
