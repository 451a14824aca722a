#include "tables_write.h"

#include <cstdio>

namespace shapes {

namespace {

std::string Number(double v) {
  if (v == 0.0) v = 0.0;  // no negative zero in the tables
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.17g", v);
  return buffer;
}

std::string CommentLines(const std::string& text) {
  std::string out = "// ";
  for (char c : text) {
    out += c;
    if (c == '\n') out += "// ";
  }
  return out + "\n";
}

bool WriteFile(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "w");
  if (!f) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

void TableWriter::Coords2D(const std::string& name, const std::vector<cplx>& points, const std::string& comment) {
  const std::string size = std::to_string(points.size());
  header_ += CommentLines(comment) + "extern const double " + name + "[" + size + "][2];\n";
  source_ += "constexpr double " + name + "[" + size + "][2] = {\n";
  for (const cplx& p : points) source_ += "  {" + Number(p.real()) + ", " + Number(p.imag()) + "},\n";
  source_ += "};\n";
}

void TableWriter::Coords3D(const std::string& name, const std::vector<Dir3>& points, const std::string& comment) {
  const std::string size = std::to_string(points.size());
  header_ += CommentLines(comment) + "extern const double " + name + "[" + size + "][3];\n";
  source_ += "constexpr double " + name + "[" + size + "][3] = {\n";
  for (const Dir3& p : points)
    source_ += "  {" + Number(p.v[0]) + ", " + Number(p.v[1]) + ", " + Number(p.v[2]) + "},\n";
  source_ += "};\n";
}

void TableWriter::Rows(const std::string& name, const std::vector<std::vector<int32_t>>& faces,
                       const std::string& comment) {
  size_t length = 0;
  for (const auto& f : faces) length += f.size() + 1;
  const std::string size = std::to_string(length);
  header_ += CommentLines(comment) + "extern const int16_t " + name + "[" + size + "];\n";
  source_ += "constexpr int16_t " + name + "[" + size + "] = {\n";
  for (const auto& f : faces) {
    source_ += " ";
    for (int32_t v : f) source_ += " " + std::to_string(v + 1) + ",";
    source_ += " 0,\n";
  }
  source_ += "};\n";
}

void TableWriter::Map(const std::string& name, const std::vector<int32_t>& map, const std::string& comment) {
  const std::string size = std::to_string(map.size());
  header_ += CommentLines(comment) + "extern const int16_t " + name + "[" + size + "];\n";
  source_ += "constexpr int16_t " + name + "[" + size + "] = {";
  for (size_t i = 0; i < map.size(); ++i) source_ += (i % 16 == 0 ? "\n  " : " ") + std::to_string(map[i]) + ",";
  source_ += "\n};\n";
}

bool TableWriter::Save(const std::string& folder, const std::string& stem, const std::string& headerComment) const {
  const std::string h = CommentLines(headerComment) + "#pragma once\n\n#include <cstdint>\n\n" + header_;
  const std::string c = "// Written by tools/make_shape_tables; do not edit.\n#include \"polyhedron/tables/" + stem +
                        ".h\"\n\n" + source_;
  return WriteFile(folder + "/" + stem + ".h", h) && WriteFile(folder + "/" + stem + ".cpp", c);
}

}  // namespace shapes
