// The statistics page of the brick sphere: how many cells of each colour the
// ball holds, and how many of them are seen.
#pragma once

#include <cstdint>
#include <string>

struct FSRef;
struct Globals;

// The page from the two count tables (entries 1..12).
std::string LegoStatsText(int32_t layers, const int32_t counts[13], const int32_t visible[13]);
// Writes the page from the invocation's tables, which the caller filled.
int32_t WriteLegoStatsFile(Globals* globals, const FSRef* file);
// The brick request of the dialog without a plan export: a ball of its own
// is built and counted, then the page written.
int32_t WriteLegoStatsFileOfOwnBall(Globals* globals, const FSRef* file);
