// The cube in eighths stood on a corner: the zigzag and the monozag. The
// renderer tumbles the cube warp's sphere so that two opposite cube corners
// (T and B) sit at the poles; the six faces then
// form a ring, three round T and three round B, each upper face sharing
// two edges with lower ones along the zigzag equator.
//
// Counts. The zigzag keeps its 48 eighths and the monozag its 24, but not the
// 55 and 53 net points the catalogue gives them: 48 triangles in one piece
// have at most 50 corners (a triangulated disc has F + 2 - I, I its inner
// points), so 55 would mean a net in pieces, a seam at each cut. The zigzag
// in one piece has 39 points; the monozag has 21 of its own, numbered after
// the zigzag's (its stretch wants it turned an eighth against the zigzag, so
// it can share none of them), which puts its highest at 60.
#pragma once

#include <functional>
#include <vector>

#include "lattice_nets.h"

namespace shapes {

struct ZigzagNets {
  // Points: the zigzag's first, then the monozag's. The solid is the cube
  // (corners, edge midpoints, face centres) in the frame the renderer
  // tumbles, that is after flip B has mirrored it.
  LatticeNet net;
  std::vector<std::vector<int32_t>> zigzagFaces;   // 48 eighths
  std::vector<std::vector<int32_t>> monozagFaces;  // 24 eighths
  int32_t zigzagPoints = 0;                        // the zigzag uses points [0, zigzagPoints)
};

// keptByMonozag: whether a direction of the untumbled cube lies in the half
// of the sphere the monozag's stretch opens to the whole sphere.
// monozagSkyHeight: how far towards the sky a direction of the untumbled cube once the
// monozag's tumble has turned it.
ZigzagNets MakeZigzagNets(const std::function<bool(const Dir3&)>& keptByMonozag,
                          const std::function<double(const Dir3&)>& monozagSkyHeight);

}  // namespace shapes
