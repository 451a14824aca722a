// Every request the plug-in makes of the host's in, out and mask rectangles.
#pragma once

#include "platform/plugin_api.h"

struct Globals;

void SetOneRowHighRects(Globals* globals);
void SetFullsizeRects(Globals* globals);
void SetInputChunkRects(Globals* globals, const Rect* chunk);
