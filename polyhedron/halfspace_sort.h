// Ordering a HALFSPACE list by its nodes' sort keys: the hull code sorts its
// points by angle, the Voronoi construction its sites and face corners.
#pragma once

#include <cstdint>

struct HALFSPACE;

// Reorders the elements ascending by HALFSPACE.key (the order of equal keys
// is that of fsort_with_pointers). The count is unchanged. When the two
// scratch arrays cannot be had, the list stays as it was.
void SortAList(HALFSPACE* node);

// Sorts keys[lo..hi] ascending in place, applying every exchange to
// payload[] at the same indices. The exchanges are a fixed quicksort (middle
// pivot), so equal keys always end in the same order. A key that is not a
// number sorts after every number.
void fsort_with_pointers(float keys[], uintptr_t payload[], int32_t lo, int32_t hi);
