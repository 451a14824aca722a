// Writing the generated nets as constexpr tables with their compile-time
// checks.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "nets_common.h"

namespace nets {

// One table of net points and the face-row tables that number them.
struct NetTables {
  std::string family;      // the solid the nets fold into
  std::string coordsName;  // e.g. NewCube_Coords2D
  std::vector<std::array<double, 2>> points;
  std::vector<std::pair<std::string, std::vector<std::vector<int32_t>>>> rowTables;  // name, rows
};

// Writes <folder>/catalogue_nets.h and <folder>/catalogue_nets.cpp; false
// when a file cannot be written.
bool WriteNetTables(const std::string& folder, const std::vector<NetTables>& tables);

}  // namespace nets
