// The keywords every exported document carries beside the fixed ones: words
// from the export task and words from the current settings.
#pragma once

#include <cstdint>

struct Globals;
struct PSDdoc;
struct TIPTCThing;

// Nothing without a builder. The layered writer passes its document and
// the export kind, the JPEG writer no document, galleries -1 or 5.
void AddTaskSpecificKeywords(TIPTCThing* iptc, const PSDdoc* doc, int32_t task);
void AddSettingsSpecificKeywords(TIPTCThing* iptc, Globals* globals);
