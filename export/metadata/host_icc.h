// The colour profile the host hands over with the image, for the writers
// that keep it in their files.
#pragma once

#include <cstdint>

struct FilterRecord;

struct HostIccProfile {
  const uint8_t* data;  // null: none
  uint32_t length;
};

// The profile when the host offers one (its size nonzero and its ICC flag
// set) and its bytes can be had; else {null, 0}.
HostIccProfile GrabHostIccProfile(const FilterRecord* fr);
