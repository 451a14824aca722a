#include "frame/scripting.h"

#include "frame/globals.h"
#include "frame/host_suites.h"

// Minimal version until the descriptor keys land: nothing is read or written.
bool ScriptingParamsAreComing(Globals*) { return false; }

int32_t ReadScriptParams_zor(Globals* globals) {
  const TParameters* p = Params(globals);
  return p ? p->showDialog : 0;
}

int32_t WriteScriptParams_zor(Globals*) { return 0; }
