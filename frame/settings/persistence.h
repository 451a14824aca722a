// The settings files the plug-in keeps in the user's Preferences folder: the
// cached last settings, the 25 memory dots and the stash, the memory-dot
// map, and the two undo files. All but the map are settings files.
#pragma once

#include <cstdint>

#include "dialog/frame_services.h"

struct FSRef;
struct Globals;

inline constexpr char kCachedSettingsFileName[] = "Gyrelle 2 cached settings C";
inline constexpr char kMemdotMapFileName[] = "Gyrelle 2 memdot map 2";
inline constexpr const char* kUndoFileNames[2] = {"Gyrelle 2 undo 0", "Gyrelle 2 undo 1"};
// Memory dots 0 to 24 belong to the dialog's slots; 25 is the stash the
// memory-dot gallery keeps the current settings in.
constexpr int32_t kStashMemoryDot = 25;
constexpr int32_t kMemdotMapBytes = 104;
constexpr int32_t kMemdotMapVersion = 47;
constexpr uint32_t kPluginCreator = 0x53406EB6;

// At start (unless scripted parameters are coming): the cached settings over
// the current ones. Nothing changes when there are none.
void Cache2Settings(Globals* globals);
// When the dialog closes with OK, unless the host keeps the cached settings.
void Settings2Cache(Globals* globals);
// The memory-dot map: read at start, written at shutdown.
void ReadInvocationBracketingSettingsFile(Globals* globals);
void WriteInvocationBracketingSettingsFile(Globals* globals);

// The same four with their results: kFileNotFound when the file is missing,
// else the first failure (opening, reading or writing, closing), else 0.
int32_t ReadCachedSettings(Globals* globals);
int32_t WriteCachedSettings(Globals* globals);
int32_t ReadMemdotMap(Globals* globals);
int32_t WriteMemdotMap(Globals* globals);

// Writes the settings into the file from its start and cuts what an older,
// longer content left behind.
int32_t WriteSettingsFile(Globals* globals, const FSRef* file);
