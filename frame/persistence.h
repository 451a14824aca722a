// The cached last settings and the memory-dot map in the Preferences folder.
// (Minimal version until the settings files land: nothing is persisted.)
#pragma once

struct Globals;

void Cache2Settings(Globals* globals);
void Settings2Cache(Globals* globals);
void ReadInvocationBracketingSettingsFile(Globals* globals);
void WriteInvocationBracketingSettingsFile(Globals* globals);
