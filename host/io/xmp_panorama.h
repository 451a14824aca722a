// The panorama properties of an XMP packet (the GPano namespace, which 360°
// viewers read to show a picture as a sphere): a result that is a map, a
// planet or a net must not claim to be a spherical panorama.
#pragma once

#include <cstdint>
#include <vector>

namespace gyhost {

// The packet with every property of the panorama namespace and its
// declaration removed, whatever prefix binds it; the rest as it was. A
// packet without them comes back unchanged.
std::vector<uint8_t> XmpWithoutPanorama(const std::vector<uint8_t>& xmp);

}  // namespace gyhost
