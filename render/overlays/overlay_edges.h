// The region-edge overlay: inside a pixel whose corners lie in different
// regions, the boundary is drawn as one or two segments between the places
// where the super-sampler found it on the pixel's sides.
#pragma once

#include <cstdint>

struct ColumnRecord;
struct EdgeDot;
struct SuperSamplerReply;

// The edge dot of a sampled pixel.
EdgeDot EdgeDotOf(const SuperSamplerReply& reply);

// Draws the region edges of pixel x into edgeCoverage. With
// voidIsRegionZero (set for the equirectangular poly-map) every negative
// region code counts as region 0.
void draw_edge_dot(const EdgeDot& dot, ColumnRecord* records, int32_t x, int32_t slotNow, int32_t slotNext,
                   bool voidIsRegionZero);
