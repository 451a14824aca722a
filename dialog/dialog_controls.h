// Finding dialog items and moving values between them and the settings:
// the small control helpers, the stash (settings to controls) and unstash
// (controls to settings), the ferret copy, the slider readout and the
// keyboard handler of the slider text boxes.
#pragma once

#include <cstdint>

#include "platform/plugin_api.h"
#include "platform/ui/events.h"

struct Globals;
struct TParameters;
struct UiControl;
struct UiWindow;
struct ZorZReply;

UiControl* GetVarezItem(void* window, int32_t id);
int32_t GetVarezItemRect(void* window, int32_t id, Rect* out);
int32_t GetControlValue_varez(void* window, int32_t id);
void SetControlValue_varez(void* window, int32_t id, int32_t value);
void SetControlValue_varez_skippingActionProc(void* window, int32_t id, float value);
int32_t get_intbox_varez(void* window, int32_t id);
void set_intbox_varez(void* window, int32_t id, int32_t value);
void set_floatbox_varez(void* window, int32_t id, float value);
void set_statictext_varez(void* window, int32_t id, const char* text);
void SetControlTitleVarezCString(void* window, int32_t id, const char* text);
// The text of an edit field or static text, at most 255 characters.
void GetItemText(void* window, int32_t id, char* text, int32_t size);

void StashValue_core(void* window, int16_t item, float value);
double UnStashValue_core(void* window, int16_t item);

// direction 0: settings into controls; 1: controls into settings.
void DoTheStash(void* window, Globals* globals, int32_t flag, int32_t direction);
void Settings2Controls(Globals* globals, void* window, int32_t flag);
void Controls2Settings(void* window, Globals* globals);
void SynchronizeAndClampParms(void* window, Globals* globals);

// direction 0: settings into the copy; 1: back. Only the fields a user
// edits in the dialog travel.
void DoTheFerret(TParameters* copy, Globals* globals, int32_t direction);

void VarezSliderAction(UiControl* control, int16_t part);
void SetVarezSliderReadoutUPPs(void (*action)(UiControl*, int16_t), void* window);
UiStatus KeyboardControlEventHandler(UiHandlerCall* call, UiEvent* event, void* reply);
void MaybeCopeWithSlidersEditField(ZorZReply* reply, FourCC command);
// The item number of a command of four digits or spaces; 0 when it has
// another character (or is all spaces).
int32_t ItemFromCommand(FourCC command);
