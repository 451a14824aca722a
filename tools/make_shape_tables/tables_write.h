// Writes the generated tables as one C++ header and source pair.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sector_nets.h"

namespace shapes {

class TableWriter {
 public:
  void Coords2D(const std::string& name, const std::vector<cplx>& points, const std::string& comment);
  void Coords3D(const std::string& name, const std::vector<Dir3>& points, const std::string& comment);
  // Rows of 1-based corner numbers, each closed by 0.
  void Rows(const std::string& name, const std::vector<std::vector<int32_t>>& faces, const std::string& comment);
  void Map(const std::string& name, const std::vector<int32_t>& map, const std::string& comment);
  // Writes STEM.h and STEM.cpp into the folder; false when a file cannot be
  // written.
  bool Save(const std::string& folder, const std::string& stem, const std::string& headerComment) const;

 private:
  std::string header_, source_;
};

}  // namespace shapes
