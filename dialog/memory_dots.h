// The 25 memory dots: a click stores the settings in an empty dot or loads
// a full one (option empties it, control makes it temporary); dot files
// and the map of persistent dots live in the Preferences folder.
#pragma once

#include <cstdint>

struct Globals;

constexpr int16_t kIconDotEmpty = 470, kIconDotFullPersistent = 471, kIconDotCurrentPersistent = 472,
                  kIconDotFullTemporary = 474, kIconDotCurrentTemporary = 475;

int32_t GetEmptyMemdot(const Globals* globals);
int32_t GetNonpersistentMemdot(const Globals* globals);
// 1 when the item is a dot; its index and whether it is full.
int32_t ItemIsAMemoryDot(const Globals* globals, int16_t item, uint8_t* full, int32_t* index);
int16_t MemdotIconID(int16_t state, int32_t persistent);
void MakeMemoryDotItemLookDifferent(int16_t item, void* window, int16_t state, int32_t persistent);
void AMemdotBecomesFullAndPersistentButNotCurrent(Globals* globals, void* window, int32_t i);
void MakeNoMemoryDotCurrent(Globals* globals, void* window);
void DoTotalMemoryDotSave(Globals* globals, void* window, int32_t i);
void DoTotalMemoryDotLoad(Globals* globals, void* window, int32_t i, uint8_t* refresh);
constexpr int32_t kMemdotThumbnailSize = 88;
struct UiTimer;

// The thumbnail well: the preview kept in dot i's file, drawn in item 98.
void LoadMemoryDotGraphicsIntoMemdotThumbnail(Globals* globals, int32_t i, void* window);
void ShowThumbnailForMemdot(Globals* globals, void* window, int32_t i);
void DetachAndDumpPICT_Memdot_Thumbnail(void* window, Globals* globals);
// Hover: every 0.1 s the dot under the pointer shows its thumbnail.
void ReactToHoverOverMemoryDot(Globals* globals, void* window, uint8_t full, int32_t i);
void ReactToHoverOverEmptyMemoryDot(Globals* globals, void* window);
void myMemdotTimerAction_Varez(UiTimer* timer, void* window);
void MaybeCreateMemdotTimer(void* window, Globals* globals);
// The dots in a ring round the well, inside group 120.
void fix_memdot_placement(void* window, Globals* globals);

// A click on dot item `item` with the modifier keys of Globals.
void ClickOnMemoryDot(Globals* globals, void* window, int16_t item, uint8_t* refresh);
