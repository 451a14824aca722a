// The layer and mask information section of a layered document, which
// renders the layers into the one canvas and streams each out before the
// next. Size-only 1: the byte count; 0: writes and answers 0, the first
// failure, or kUserCancelled when the render was cancelled.
#pragma once

#include <cstdint>

struct Globals;
struct PSDdoc;
struct PyramidDescriptor;

// The length the layer and mask section declares: the largest length field
// of a document, whose layers' samples it holds all together. The format
// stores it in 32 bits; a document past kPsdMaxSectionLength cannot be
// written.
constexpr int64_t kPsdMaxSectionLength = 0xFFFFFFFF;
int64_t PsdLayerSectionLength(const PSDdoc* doc, bool floatCanvas);

int64_t WrPSD_layer_and_mask_section(PyramidDescriptor* canvas, PSDdoc* doc, int16_t fork, uint8_t sizeOnly,
                                     Globals* globals, uint8_t* cancelled);

// Renders one layer into the canvas: 0, kUserCancelled, or the renderer's
// refusal (a mode it cannot draw), which then no longer stands as the
// invocation's result: a failed export leaves the dialog going.
int32_t RenderExportLayer(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancelled,
                          PSDdoc* doc);
