// The dialog's save, load, preset and export commands: the step of the item
// chain that serves them, and the four export sheets (brick sphere, sized
// result, cube map, polyhedron export), each asking where to save on OK.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"

struct Globals;
struct ZorZReply;

void SaveAndLoad_core(Globals* globals, void* window, int16_t* item, uint8_t* refresh);

// 0 when the sheet could not be opened or was cancelled, else 1.
int32_t OfferPSDLegoFileParams(Globals* globals);
int32_t OfferCubeFileParams(Globals* globals);
int32_t OfferExportFacesFileParams(Globals* globals);
int32_t OfferExportPSDWithSizeParams(Globals* globals);

// Keeps boxes 3 and 4 of the window in the proportions width:height: the
// height follows the width when adjustHeight is set, else the other way.
void proportional_adjustment(void* window, int32_t width, int32_t height, bool adjustHeight);
// The same for the sized sheet of the reply, after typing into box 3
// ('PSXX': the height follows) or box 4 ('PSYY').
void proportional_adjustment(ZorZReply* reply, FourCC command);
// The sized sheet's popup 7 was chosen: its boxes show the image size
// (choice 1) or follow its proportions (choice 2).
void FollowSizedExportChoice(ZorZReply* reply);

// The name a settings file is proposed under: the settings name (or the
// default one) with its extension replaced by ".q2q".
void ProposedSettingsFileName(const char* settingsName, char* out, int32_t size);
// The little-planet preset into the settings.
void ApplyLittlePlanet(Globals* globals);
