// Export images drawn through the renderer into the export canvas and coded
// as JPEG in memory: the net texture of a model and the gallery thumbnails.
#pragma once

#include <cstdint>
#include <vector>

struct Globals;

// Export kinds of the settings that these images are rendered for.
constexpr int32_t kExportKindBricks = 0;
constexpr int32_t kExportKindResult = 3;
constexpr int32_t kExportKindObjTexture = 4;
constexpr int32_t kExportKindEquiPolyMap = 7;

// The current settings rendered at width x height into the export canvas and
// coded into `jpeg`. 0, or kOutOfMemory when the canvas or the code buffer
// cannot be had, or 1 when the coder failed; `cancel` is set when the user
// stopped the render (the bytes are then not worth keeping).
int32_t RenderCanvasJPEG(Globals* globals, int32_t width, int32_t height, std::vector<uint8_t>* jpeg,
                         uint8_t* cancel);
// The model texture: the net at the faces-export size, square.
int32_t RenderNetTextureJPEG(Globals* globals, std::vector<uint8_t>* jpeg, uint8_t* cancel);
