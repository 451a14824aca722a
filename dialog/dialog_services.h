// What the frame asks of the preview dialog and its small windows.
#pragma once

#include <cstdint>

struct Globals;
struct ZorZReply;

void PromptUserForInput(Globals* globals);
int32_t ShowOSAlertoid(const char* message, const char* explanation);
int16_t ShowVarezAlertoid(const char* windowName, ZorZReply* reply);
void NullifyPICT_Memdot_Thumbnail(Globals* globals);
void ReactToHoverOverEmptyMemoryDot(Globals* globals, void* window);
void UndoSnapshot(Globals* globals, int32_t writeFile);
