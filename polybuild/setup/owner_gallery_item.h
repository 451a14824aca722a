// The one thing the builders read of the invocation that owns a record: its
// gallery item (the Truchet pattern bits of the Voronoi solids, and so part
// of what keys a kept unfolding).
#pragma once

#include <cstdint>

struct polyhedron;

// True, with *item set, when the record has an owner; else false and *item
// untouched.
bool GalleryItemOfOwner(const polyhedron* poly, int32_t* item);
