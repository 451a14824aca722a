#include "polybuild/setup/polyhedron_setup_steps.h"

#include <algorithm>
#include <cmath>

#include "polyhedron/correspondence.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/vertex_maps.h"
#include "polyhedron/vertex_upkeep.h"
#include "projection/planes.h"
#include "projection/scalar_math.h"

namespace {

bool InRange(int32_t i, int32_t limit) { return i >= 0 && i < limit; }

int32_t Corners(int32_t n) { return InRange(n, kPolyMaxCorners + 1) ? n : 0; }

int32_t ClampedCount(int32_t n, int32_t limit) { return std::clamp(n, 0, limit); }

// The mirrored solid point of 3D vertex v; false when v is no vertex slot or
// the record has no solid coordinates.
bool MirroredVertex(const polyhedron* poly, int32_t v, double out[3]) {
  if (!poly->coords3D || !InRange(v, kPolyMax3DVerts)) return false;
  MirroredPoint(poly, poly->coords3D[v], out);
  return true;
}

triplex AsTriplex(const double p[3]) { return triplex{p[0], p[1], p[2]}; }

// The solid vertex under corner j of net face f: from the fixed table when
// the shape has one, else through the solid face the net face shows; -1 when
// neither knows.
int32_t SolidVertexOfNetCorner(const polyhedron* poly, int32_t f, int32_t j, int32_t v2D) {
  if (poly->map2Dto3D) return poly->map2Dto3D[v2D];
  int32_t face3D = -1, corner3D = -1;
  Face_and_Index_2D_to_3D(f, j, &face3D, &corner3D, poly);
  if (!InRange(face3D, kPolyMaxFaces) || !InRange(corner3D, kPolyMaxCorners)) return -1;
  return poly->faces[face3D].vert3D[corner3D];
}

}  // namespace

bool NetMethodRebuildsLinks(int16_t method) {
  return method == kNetMethodGlued || method == kNetMethodTabPerEdge || method == kNetMethodComputed;
}

bool NetMethodHasTabs(int16_t method) { return method == kNetMethodGlued || method == kNetMethodTabPerEdge; }

bool NetMethodIsFixed(int16_t method) { return method == kNetMethodFixed || method == kNetMethodFixedUncleansed; }

void FetchCentroidOf3DFace(const polyhedron* poly, int32_t face, double out[3]) {
  GetCentroidOf3DFace(face, poly, out);
}

void MirroredPoint(const polyhedron* poly, const double in[3], double out[3]) {
  const double a = poly->mirrorFlipA ? -1.0 : 1.0;
  const double b = poly->mirrorFlipB ? -1.0 : 1.0;
  out[0] = a * b * in[0];
  out[1] = a * in[1];
  out[2] = in[2];
}

void RebuildNetLinks(polyhedron* poly) {
  Cleanse2DVertList(poly);
  Build2DConnectivityCompletelyFromScratch(poly, ClampedCount(poly->n3DFaces, kPolyMaxFaces));
  Calc3DAngles(poly);
  Build3DConnectivity(poly);
  Calc2DAnglesAroundFaces(poly);
  DetermineCorrespondence(poly);
}

void RotateNetAndSetRenderPoints(polyhedron* poly, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  const int32_t faces = ClampedCount(poly->n2DFaces, kPolyMaxFaces);
  for (int32_t f = 0; f < faces; ++f) {
    const PolyFace& face = poly->faces[f];
    for (int32_t j = 0; j < Corners(face.n2D); ++j) {
      const int32_t v = face.vert2D[j];
      if (!InRange(v, kPolyMax2DVerts)) continue;
      PolyVertex2D& p = poly->verts2D[v];
      // Every face at a vertex turns it again from the untouched double
      // coordinates, so a shared vertex ends where it would once.
      if (poly->coords2D) {
        const double x = poly->coords2D[v][0], y = poly->coords2D[v][1];
        p.x = float(c * x - s * y);
        p.y = float(x * s + y * c);
      }
      double point[3];
      if (!MirroredVertex(poly, SolidVertexOfNetCorner(poly, f, j, v), point)) continue;
      p.renderX = float(point[0]);
      p.renderY = float(point[1]);
      p.renderZ = float(point[2]);
    }
  }
}

void BuildScissorPlanes(polyhedron* poly) {
  const int32_t count = ClampedCount(poly->scissorMarkCount, kPolyMaxScissorMarks);
  for (int32_t m = 0; m < count; ++m) {
    ScissorMark& mark = poly->scissorMarks[m];
    double pivot[3];
    if (!MirroredVertex(poly, mark.pivotVertex, pivot)) continue;
    std::copy(pivot, pivot + 3, mark.pivotPoint);
    double p[3][3];
    bool complete = true;
    for (int32_t k = 0; k < 3 && complete; ++k) complete = MirroredVertex(poly, mark.verts3D[k], p[k]);
    if (!complete) {
      mark.plane = PLANED{};
      continue;
    }
    BuildPlaneFromThreePointsT(AsTriplex(p[0]), AsTriplex(p[1]), AsTriplex(p[2]), &mark.plane);
  }
}

int32_t ChooseUpFace(const polyhedron* poly) {
  if (poly->upFace != -1) return poly->upFace;
  int32_t best = 0, most = -1;
  const int32_t faces = ClampedCount(poly->n3DFaces, kPolyMaxFaces);
  for (int32_t f = 0; f < faces; ++f) {
    if (poly->faces[f].n3D > most) {
      most = poly->faces[f].n3D;
      best = f;
    }
  }
  return best;
}

void SetUpVector(polyhedron* poly, int16_t method) {
  if (NetMethodIsFixed(method)) {
    poly->upVector[0] = 0.0;
    poly->upVector[1] = 0.0;
    poly->upVector[2] = -1.0;
    return;
  }
  FetchCentroidOf3DFace(poly, ChooseUpFace(poly), poly->upVector);
}

void SetFaceCentroids(polyhedron* poly) {
  const int32_t faces = ClampedCount(poly->n3DFaces, kPolyMaxFaces);
  for (int32_t f = 0; f < faces; ++f) {
    PolyFace& face = poly->faces[f];
    FetchCentroidOf3DFace(poly, f, face.centroid);
    NormalizeVectorSlowlyD(face.centroid);
    for (int k = 0; k < 3; ++k) face.centroidF[k] = float(face.centroid[k]);
  }
}

// Vert_Index_2D_to_3D of every slot, with the net faces read once rather
// than once a vertex: a used vertex without a stored partner (a tab's) takes
// the first net corner that holds it, in face and then corner order, as that
// lookup does.
void FillVert3DOfVert2D(polyhedron* poly) {
  uint8_t pending[kPolyMax2DVerts];
  for (int32_t v = 0; v < kPolyMax2DVerts; ++v) {
    pending[v] = 0;
    if (!poly->vert2DUsed[v]) {
      poly->vert3DOfVert2D[v] = -1;
    } else if (poly->vert3DOf2D[v] != kPolyNoVertex16) {
      poly->vert3DOfVert2D[v] = int32_t(int16_t(poly->vert3DOf2D[v]));
    } else {
      poly->vert3DOfVert2D[v] = -1;
      pending[v] = 1;
    }
  }
  const int32_t faces = ClampedCount(poly->n2DFaces, kPolyMaxFaces);
  for (int32_t f = 0; f < faces; ++f) {
    const PolyFace& face = poly->faces[f];
    for (int32_t j = 0; j < Corners(face.n2D); ++j) {
      const int32_t v = face.vert2D[j];
      if (!InRange(v, kPolyMax2DVerts) || !pending[v]) continue;
      pending[v] = 0;
      int32_t face3D = -1, corner3D = -1;
      Face_and_Index_2D_to_3D(f, j, &face3D, &corner3D, poly);
      if (InRange(face3D, kPolyMaxFaces) && InRange(corner3D, kPolyMaxCorners))
        poly->vert3DOfVert2D[v] = poly->faces[face3D].vert3D[corner3D];
    }
  }
}
