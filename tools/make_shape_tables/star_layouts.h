// The star and ring layouts of the catalogue, each with the plug-in's sphere
// map of its sectors and the joining rule that makes its outline.
#pragma once

#include <vector>

#include "sector_nets.h"

namespace shapes {

// In the order they are generated; the names are the table families.
std::vector<SectorLayout> StarLayouts();

}  // namespace shapes
