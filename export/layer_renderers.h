// export/: the export writers: documents, images, models, brick spheres, pages and icons, by folder.
// The layer renderers of the exports that render with the ordinary row
// renderer under a temporary change of the settings: one face group of the
// polyhedron-faces export, the equirectangular polyhedron map, and one face
// of the cube map. Each leaves the settings, the host rectangles and the
// preview state as it found them; nothing happens without a canvas.
#pragma once

#include <cstdint>

struct Globals;
struct PyramidDescriptor;

// The tumble that turns the rectilinear view onto cube face `layer` (1..6,
// clamped): down, up, left, back, right, front.
struct CubeFaceTurn {
  float twirlX, twirlY, twirlSpin;
};
CubeFaceTurn CubeFaceTurnOf(int32_t layer);

void GenerateOneLayerOfExportFaces(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancelled);
void GenerateOneLayerOfEquiPolyMap(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancelled);
void GenerateOneLayerOfCube(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancelled);
