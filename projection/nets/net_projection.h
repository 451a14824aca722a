// projection/nets/: plane points of polyhedral nets and florets to the sphere.
// A plane point of a polyhedral view to the sphere: find the net triangle
// under the point among the short lists of the calling task's hint
// (net_projection_lists.h), starting at the one hit last, and carry the
// point through it (net_projection_core.h). Runs on the worker tasks; the
// polyhedron is only read, the hint belongs to the calling task.
#pragma once

#include <cstdint>

#include "polyhedron/polyhedron_record.h"  // record-only include: the plain polyhedron record
#include "projection/render_hint.h"

// Sets *outside to 1 for a point off the net, beyond the hint's band or on
// a glue tab, else to 0 with the sphere point written. A point on a tab gets
// (1, 1, 0), hint->tabHit 1 and hint->tabId the tab's 2D face. A hit on a
// hidden triangle counts as off the net. Output mode 64 reads the plane as
// its skewed repeat first. A polyhedron with segmentStretch set has its
// sphere segment opened to the whole sphere afterwards (which may also set
// the flag). On a face hit hint->lastFace is the triangle, and the next
// search starts there.
void DoPolyhedralTransforms(float point[3], const polyhedron* poly, float x, float y, uint8_t* outside,
                            renderhinttype* hint);
