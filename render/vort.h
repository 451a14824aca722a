// The per-view transform record, built at the first row of a pass.
#pragma once

struct vort {
  // Size of the picture being produced (the export canvas in export-layer
  // renders) and of the host's image.
  float outputWidth, outputHeight;
  float outputAspect;  // outputHeight / outputWidth
  float invOutputWidth, invOutputHeight;
  float imageWidth, imageHeight;
  float imageAspect;  // imageHeight / imageWidth
  // Shift of the unit coordinates of the output before they are centred.
  float unitOffsetX, unitOffsetY;
};
