// export/models/: the solid as OBJ, MTL and STL models with their texture.
// The current polyhedral output mode as a textured model: a Wavefront OBJ
// file, its MTL material, the JPEG texture of the unfolded net and a binary
// STL of the solid, side by side under one base name.
#pragma once

#include <cstdint>
#include <string>

struct FSRef;
struct Globals;
struct polyhedron;

// Where the models say they came from.
inline constexpr char kMakerAddress[] = "https://gyrelle.example.org/";

// The OBJ, MTL, STL and JPEG of the mode's single-fragment variant. 0 when
// all four are in place; else the first failure (kBadParameter for a mode
// without a solid that can be built or whose net reaches none of its faces,
// -128 when the texture render was
// cancelled), and none of the four files is changed.
int32_t WriteOBJFileAndItsHandmaidens(Globals* globals, const FSRef* objFile);

// The equirectangular map of the current polyhedral mode as a layered
// document; -128 when cancelled.
int32_t WriteEquiPolyMapFile(Globals* globals, const FSRef* file);

// The texts of the model files. `base` is the cleaned name the OBJ's mtllib
// and usemtl lines, and the MTL's material and texture, are named after.
// Without a solid the OBJ says so in its one line.
std::string OBJFileText(polyhedron* poly, const char* base);
std::string MTLFileText(const char* base);

// The name of a file without its extension, cleaned for OBJ and MTL lines.
void OBJBaseName(const FSRef* file, char* base, int32_t size);
