// Export layers: an export writer gets each image it writes by rendering it
// into a canvas pyramid with the row machinery of the final render (run
// mode 2), in the middle of the dialog, leaving the host's rectangles, the
// preview state and the settings exactly as it found them.
#pragma once

#include <cstdint>

#include "export/export_services.h"

struct Globals;
struct PSDdoc;
struct PyramidDescriptor;

// The export's own cancel flag (`cancel`) is set when the user aborts or
// cancels the export's progress window; once set, no row is rendered.
using LayerRenderer = void (*)(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancel,
                               PSDdoc* doc);

// Renders `layer` of the export the document describes (its exportKind)
// into the canvas; the five arguments go to the layer renderer unchanged.
void GenerateOneLayer(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancel, PSDdoc* doc);
// Renders `layer` of an export of kind `exportKind` (the values of
// TParameters.exportKind) into the canvas; a kind without a renderer
// renders nothing. The export's document is handed on unchanged.
void GenerateOneLayerOfKind(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancel,
                            int32_t exportKind, PSDdoc* doc);
// The plain result into the canvas (every layer of it is the same image);
// nothing without a canvas.
void GenerateOneLayerOfBasicResult(Globals* globals, PyramidDescriptor* canvas, int32_t layer, uint8_t* cancel);

// One export-layer pass over the canvas's rows in run mode 2: saves the host
// state and the settings, sets the filter rectangle to the canvas, lets
// `configure` change the settings for this layer (may be null), renders,
// and puts everything back. The abort poll runs on every turn whose number
// has a bit of `pollSkipMask` set. With `startFromInput` the canvas first
// receives the unfiltered image.
using ExportLayerConfigure = void (*)(Globals* globals, void* context);
// EndExportLayers, which the export writers call, is in export/export_services.h.

void RenderExportLayerPass(Globals* globals, PyramidDescriptor* canvas, uint8_t* cancel, int32_t pollSkipMask,
                           bool startFromInput, ExportLayerConfigure configure, void* context);
