// The save kinds whose writers live with the models, the brick sphere and
// the gallery pages; the save dispatcher hands them on here.
#pragma once

#include <cstdint>

struct FSRef;
struct Globals;

// True for the kinds SaveModelOrPage writes.
bool IsModelOrPageKind(int32_t kind);
// 0 or the writer's first failure; the page kinds then open the page.
int32_t SaveModelOrPage(Globals* globals, const FSRef* file, int32_t kind);
