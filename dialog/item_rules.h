// What each item command does beyond its own control: whether it is worth
// an undo snapshot and a preview refresh, the "next" buttons and the dice,
// straighten, the zoom buttons, and which controls apply to the current
// output mode (the others are dimmed).
#pragma once

#include <cstdint>

struct Globals;

int32_t UndoWorthy(int16_t item, Globals* globals);
int32_t ProvokesRefresh(int16_t item);
int32_t MagicProvocation(int16_t item);
int32_t WarrantsHardRefreshWhileAutoPreviewingIsOff(int16_t item);
bool ItsASwatch(int16_t item);
void MagicSwatches(Globals* globals, void* window, int16_t item, uint8_t* refresh);

void UndoMe(Globals* globals, void* window, int16_t item, uint8_t* refresh);

void RandomizeIt(Globals* globals, void* window, int16_t item, uint8_t* refresh);
void RandomizeSettings(Globals* globals);
void RandomizeSettingsConstrained(Globals* globals);
void GetRandomName(Globals* globals);
void Straighten(Globals* globals, void* window, int16_t item, uint8_t* refresh);
void Handle3Zoomers(Globals* globals, void* window, int16_t item, uint8_t* refresh);
void FixZoomers(void* window, Globals* globals);
void MaybeFixZoomers(void* window, Globals* globals);

void MakeEverythingUsable(Globals* globals);
void HiliteLogic(int32_t outputMode, Globals* globals);
void SetHilites(int32_t ignored, void* window, Globals* globals);
void SetGlueHilite(void* window, Globals* globals);
void fixlite(int16_t item, void* window, Globals* globals);
