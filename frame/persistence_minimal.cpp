#include "frame/persistence.h"

void Cache2Settings(Globals*) {}
void Settings2Cache(Globals*) {}
void ReadInvocationBracketingSettingsFile(Globals*) {}
void WriteInvocationBracketingSettingsFile(Globals*) {}
