#include "nets_arrange.h"

#include <cmath>

#include "polyhedron/catalogue_rows.h"
#include "polyhedron/correspondence.h"
#include "polyhedron/polyhedron_angles.h"
#include "polyhedron/polyhedron_links.h"
#include "polyhedron/vertex_upkeep.h"

namespace nets {

namespace {

std::vector<int16_t> Rows(const Net& net) {
  std::vector<int16_t> rows;
  for (const auto& row : net.rows) {
    for (int32_t v : row) rows.push_back(int16_t(v + 1));
    rows.push_back(0);
  }
  return rows;
}

std::vector<int32_t> Turned(const std::vector<int32_t>& row, int32_t turn) {
  std::vector<int32_t> out;
  for (size_t t = 0; t < row.size(); ++t) out.push_back(row[(t + size_t(turn)) % row.size()]);
  return out;
}

double Distance3D(const CatalogueSolid& solid, int32_t a, int32_t b) {
  double s = 0;
  for (int k = 0; k < 3; ++k) s += (solid.coords3D[a][k] - solid.coords3D[b][k]) * (solid.coords3D[a][k] - solid.coords3D[b][k]);
  return std::sqrt(s);
}

double Distance2D(const Net& net, int32_t a, int32_t b) {
  return std::hypot(net.points[size_t(a)][0] - net.points[size_t(b)][0],
                    net.points[size_t(a)][1] - net.points[size_t(b)][1]);
}

// Lengths within this of each other are the same edge.
constexpr double kLengthTolerance = 1e-9;

}  // namespace

void Reload(const CatalogueSolid& solid, const Net& net, int32_t shapeCode, std::vector<int32_t>* face3D,
            std::vector<int32_t>* offset) {
  const std::vector<int16_t> rows = Rows(net);
  PolyPtr p = NewRecord(shapeCode);
  p->coords2D = reinterpret_cast<const double(*)[2]>(net.points.data());
  p->coords3D = solid.coords3D;
  p->faces2DRows = rows.data();
  p->faces3DRows = solid.faces3D;
  p->n3DFaces = solid.faceCount;
  LoadStaticFaceRows(p.get(), int32_t(rows.size()), solid.rowEntries);
  Cleanse2DVertList(p.get());
  Build2DConnectivityCompletelyFromScratch(p.get(), p->n3DFaces);
  Calc3DAngles(p.get());
  Build3DConnectivity(p.get());
  Calc2DAnglesAroundFaces(p.get());
  DetermineCorrespondence(p.get());
  face3D->clear();
  offset->clear();
  for (int32_t j = 0; j < p->n2DFaces; ++j) {
    face3D->push_back(p->faces[j].face3D);
    offset->push_back(p->faces[j].cornerOffset);
  }
  // The record borrowed every table: nothing of its own to free.
  p->coords2D = nullptr;
  p->faces2DRows = nullptr;
}

bool ArrangeForCorrespondence(const CatalogueSolid& solid, int32_t shapeCode, Net* net) {
  const size_t count = net->rows.size();
  for (size_t first = 0; first < count; ++first) {
    for (int32_t turn = 0; turn < int32_t(net->rows[first].size()); ++turn) {
      Net trial = *net;
      std::swap(trial.rows[0], trial.rows[first]);
      std::swap(trial.face3D[0], trial.face3D[first]);
      std::swap(trial.offset[0], trial.offset[first]);
      trial.rows[0] = Turned(trial.rows[0], turn);
      trial.offset[0] = (trial.offset[0] + turn) % int32_t(trial.rows[0].size());
      std::vector<int32_t> found3D, foundOffset;
      Reload(solid, trial, shapeCode, &found3D, &foundOffset);
      if (found3D == trial.face3D && foundOffset == trial.offset) {
        *net = trial;
        return true;
      }
    }
  }
  return false;
}

bool AdoptFoundCorrespondence(const CatalogueSolid& solid, int32_t shapeCode, Net* net) {
  std::vector<int32_t> found3D, foundOffset;
  Reload(solid, *net, shapeCode, &found3D, &foundOffset);
  const auto faces = SolidFaces(solid);
  std::vector<bool> shown(faces.size(), false);
  for (size_t j = 0; j < found3D.size(); ++j) {
    const int32_t f = found3D[j];
    if (f < 0 || f >= int32_t(faces.size()) || shown[size_t(f)] || faces[size_t(f)].size() != net->rows[j].size())
      return false;
    shown[size_t(f)] = true;
  }
  net->face3D = found3D;
  net->offset = foundOffset;
  return true;
}

bool NetMatchesSolid(const CatalogueSolid& solid, const Net& net, std::string* why) {
  const auto faces = SolidFaces(solid);
  std::vector<int32_t> vertexOf(net.points.size(), -1);
  for (size_t j = 0; j < net.rows.size(); ++j) {
    const auto& row = net.rows[j];
    const auto& face = faces[size_t(net.face3D[j])];
    const size_t n = row.size();
    if (face.size() != n) {
      *why = "row " + std::to_string(j) + " has the wrong corner count";
      return false;
    }
    double area2 = 0;
    for (size_t t = 0; t < n; ++t) {
      const int32_t a = row[t], b = row[(t + 1) % n], c = row[(t + 2) % n];
      const size_t s = (t + size_t(net.offset[j])) % n;
      const int32_t va = face[s], vb = face[(s + 1) % n], vc = face[(s + 2) % n];
      // Two edges and the diagonal between them fix the corner.
      if (std::fabs(Distance2D(net, a, b) - Distance3D(solid, va, vb)) > kLengthTolerance ||
          std::fabs(Distance2D(net, a, c) - Distance3D(solid, va, vc)) > kLengthTolerance) {
        *why = "row " + std::to_string(j) + " is not congruent to its solid face at corner " + std::to_string(t);
        return false;
      }
      if (vertexOf[size_t(a)] < 0) vertexOf[size_t(a)] = va;
      if (vertexOf[size_t(a)] != va) {
        *why = "point " + std::to_string(a) + " lies on two solid vertices";
        return false;
      }
      area2 += net.points[size_t(a)][0] * net.points[size_t(b)][1] - net.points[size_t(b)][0] * net.points[size_t(a)][1];
    }
    if (area2 <= 0) {
      *why = "row " + std::to_string(j) + " runs clockwise";
      return false;
    }
  }
  return true;
}

}  // namespace nets
