// Checks of a generated solid and its net that do not go through the code
// under test: edges counted from the face corners, planes from the corner
// points, the hull from qconvex, overlaps by polygon clipping.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "polyhedron/polyhedron.h"

struct ProcPolyDeleter {
  void operator()(polyhedron* p) const {
    DumpPolyStorage(p, nullptr);
    delete p;
  }
};
using ProcPolyPtr = std::unique_ptr<polyhedron, ProcPolyDeleter>;

// A fresh record as the catalogue hands it to a generator.
ProcPolyPtr NewGeneratorRecord();

struct SolidCounts {
  int32_t vertices;  // used by some face
  int32_t edges;
  int32_t faces;
};
SolidCounts CountSolid(const polyhedron* poly);

// Every directed edge of a face meets its reverse in exactly one other face.
testing::AssertionResult IsClosed(const polyhedron* poly);
// V - E + F = 2.
testing::AssertionResult EulerHolds(const polyhedron* poly);
// Every corner within tol of the plane of its face (Newell normal).
testing::AssertionResult FacesArePlanar(const polyhedron* poly, double tol);
// No two corners of a face alike and every face with area.
testing::AssertionResult NoDegenerateFaces(const polyhedron* poly);
// Each face's normal points away from the centroid of the solid's vertices.
testing::AssertionResult FacesPointOutward(const polyhedron* poly);
// Every used vertex at distance r from the origin (within tol).
testing::AssertionResult VerticesOnSphere(const polyhedron* poly, double r, double tol);

// The hull facets of the solid's vertices as qconvex finds them (sets of
// 3D vertex indices); empty when qconvex is not there.
bool QconvexAvailable();
std::vector<std::set<int32_t>> QconvexFacets(const polyhedron* poly);
// The solid's faces make up exactly the hull's facets (coplanar faces
// together forming one).
testing::AssertionResult MatchesHull(const polyhedron* poly);

// The net: every solid face shown by exactly one net face, each net face
// congruent to its solid face (sides and diagonals within tol, relative for
// lengths above 1), no two net faces overlapping.
// The unfolding hinges faces in single precision, so nets hold to a few
// parts in 1e6 of the solid, never to double precision.
constexpr double kNetLengthTolerance = 2e-5;
// The net store merges net points closer than 0.002 even when they show
// different solid vertices. Where a net has faces that small (the tattoo
// balls' caps) or branches that come that close (the 1500 faces of the
// finest dodecahedral sphere), a few net corners move by up to that much.
constexpr double kSnappedNetTolerance = 2e-3;
// checkOverlap false leaves out the overlap test, for the shapes whose
// unfolding is told to skip it. scaledFragments: each fragment may be
// scaled as a whole (wedges laid onto half edges of their neighbours), so
// lengths are compared after the fragment's own scale.
testing::AssertionResult NetIsSoundFor(const polyhedron* poly, double tol = kNetLengthTolerance,
                                       bool checkOverlap = true, bool scaledFragments = false);
