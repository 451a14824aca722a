// What the dialog run asks of the custom controls (colour swatches, the
// ball and angle controls), the memory dots, the undo files and the save
// and export commands. Each answers what a dialog without that feature
// would: values stay as they are, nothing is saved or exported.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;
struct UiControl;
struct ZorZReply;


// Memory dots: the dot's index 0..24 for its item, -1 for other items.
int32_t MemdotIndex(const Globals* globals, int16_t item);
bool MemdotIsFullOrCurrent(const Globals* globals, int16_t item);
void DemoteCurrentMemdots(Globals* globals, void* window);
void StashFirstMemdot(void* window, Globals* globals);
void TouchPersistentMemdots(Globals* globals, void* window);
void RemoveMemdotTimer(Globals* globals);
void DetachMemdotThumbnail(Globals* globals, void* window);

// Undo files: 1 when written (or read).
int32_t WriteUndoFile(Globals* globals, int32_t slot);
int32_t ReadUndoFile(Globals* globals, int32_t slot);

// The developer command and the info window.
void DevMagic(Globals* globals, void* window);
void FurboDoInfo(Globals* globals, void* window);
