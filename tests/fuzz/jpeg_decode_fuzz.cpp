// Any bytes as a JPEG stream into a small preview-sized picture: the decoder
// answers a code and never writes past its target or reads past its data.
#include <cstdint>
#include <cstring>
#include <vector>

#include "export/jpeg/jpeg_coder.h"
#include "pyramid/pyramid_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static PyramidDescriptor target = [] {
    PyramidDescriptor p{};
    InitPyramidProcs(&p, nullptr, nullptr);
    TryToAllocatePyramid_2006(&p, 128, 96, PyramidDataKind_Packed8, 0);
    return p;
  }();
  static PyramidDescriptor grey = [] {
    PyramidDescriptor p{};
    InitPyramidProcs(&p, nullptr, nullptr);
    TryToAllocatePyramid_2006(&p, 40, 40, PyramidDataKind_Byte, 0);
    return p;
  }();
  // An exact-size copy, so that any read past the end is caught.
  std::vector<uint8_t> copy(data, data + size);
  const Rect wide{0, 0, 96, 128}, odd{0, 0, 200, 7};
  DecompressJPEG(&target, &wide, copy.data(), uint32_t(copy.size()));
  DecompressJPEG(&grey, &odd, copy.data(), uint32_t(copy.size()));
  return 0;
}
