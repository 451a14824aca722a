// The flat sector nets of the star and ring shapes of the catalogue, written by
// tools/make_shape_tables (see there for what each net is). Do not edit.
#pragma once

#include <cstdint>

// Five-star (its first ten rows: the pentagon): the net points.
extern const double fivestar_Coords2D[16][2];
// Five-star (its first ten rows: the pentagon): sector k is face k, corners centre, edge midpoint, corner.
extern const int16_t fivestar_Faces2D[80];
// Five-star (its first ten rows: the pentagon): the sphere images of the net's corners.
extern const double fivestar_Coords3D[12][3];
// Five-star (its first ten rows: the pentagon): the solid vertex of each net point.
extern const int16_t fivestar_2D_to_3D[16];
// Three-star (its first six rows: the triangle): the net points.
extern const double threestar_Coords2D[10][2];
// Three-star (its first six rows: the triangle): sector k is face k, corners centre, edge midpoint, corner.
extern const int16_t threestar_Faces2D[48];
// Three-star (its first six rows: the triangle): the sphere images of the net's corners.
extern const double threestar_Coords3D[8][3];
// Three-star (its first six rows: the triangle): the solid vertex of each net point.
extern const int16_t threestar_2D_to_3D[10];
// The triangle: the three-star's central triangle
extern const double triangle_Coords2D[7][2];
// Six-star (its first twelve rows: the hexagon): the net points.
extern const double sixstar_Coords2D[19][2];
// Six-star (its first twelve rows: the hexagon): sector k is face k, corners centre, edge midpoint, corner.
extern const int16_t sixstar_Faces2D[96];
// Six-star (its first twelve rows: the hexagon): the sphere images of the net's corners.
extern const double sixstar_Coords3D[14][3];
// Six-star (its first twelve rows: the hexagon): the solid vertex of each net point.
extern const int16_t sixstar_2D_to_3D[19];
// The hexagon: the six-star's central hexagon
extern const double hexagon_Coords2D[13][2];
// Two triangles on one edge, a hemisphere each: the net points.
extern const double bipolar_rhombus_Coords2D[11][2];
// Two triangles on one edge, a hemisphere each: sector k is face k, corners centre, edge midpoint, corner.
extern const int16_t bipolar_rhombus_Faces2D[48];
// Two triangles on one edge, a hemisphere each: the sphere images of the net's corners.
extern const double bipolar_rhombus_Coords3D[8][3];
// Two triangles on one edge, a hemisphere each: the solid vertex of each net point.
extern const int16_t bipolar_rhombus_2D_to_3D[11];
// Two pentagons on one edge, a hemisphere each: the net points.
extern const double Pentalene_Coords2D[19][2];
// Two pentagons on one edge, a hemisphere each: sector k is face k, corners centre, edge midpoint, corner.
extern const int16_t Pentalene_Faces2D[80];
// Two pentagons on one edge, a hemisphere each: the sphere images of the net's corners.
extern const double Pentalene_Coords3D[12][3];
// Two pentagons on one edge, a hemisphere each: the solid vertex of each net point.
extern const int16_t Pentalene_2D_to_3D[19];
// Two hexagons on one edge, a hemisphere each: the net points.
extern const double Naphthalene_Coords2D[23][2];
// Two hexagons on one edge, a hemisphere each: sector k is face k, corners centre, edge midpoint, corner.
extern const int16_t Naphthalene_Faces2D[96];
// Two hexagons on one edge, a hemisphere each: the sphere images of the net's corners.
extern const double Naphthalene_Coords3D[14][3];
// Two hexagons on one edge, a hemisphere each: the solid vertex of each net point.
extern const int16_t Naphthalene_2D_to_3D[23];
// Three hexagons, each a lune of a third of the sphere, meeting at one corner; the points after
// the 31st are the anthracene's third ring
extern const double Phenathene_Coords2D[41][2];
// The three hexagons round one corner: sector k is face k
extern const int16_t Phenathene_Faces2D[144];
// The sphere images of their corners
extern const double Phenathene_Coords3D[20][3];
// The solid vertex of each of its net points
extern const int16_t Phenathene_2D_to_3D[31];
// Three hexagons in a row, each a lune of a third of the sphere, on the points of Phenathene_Coords2D
extern const int16_t Anthracene_Faces2D[144];
// The sphere images of their corners
extern const double Anthracene_Coords3D[20][3];
// The solid vertex of each point of Phenathene_Coords2D it uses
extern const int16_t Anthracene_2D_to_3D[41];
// Two diamonds touching at a corner, a hemisphere each: the net points.
extern const double adamsdiamonds_Coords2D[18][2];
// Two diamonds touching at a corner, a hemisphere each: sector k is face k, corners centre, edge midpoint, corner.
extern const int16_t adamsdiamonds_Faces2D[64];
// Two diamonds touching at a corner, a hemisphere each: the sphere images of the net's corners.
extern const double adamsdiamonds_Coords3D[10][3];
// Two diamonds touching at a corner, a hemisphere each: the solid vertex of each net point.
extern const int16_t adamsdiamonds_2D_to_3D[18];
