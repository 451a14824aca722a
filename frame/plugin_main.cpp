#include "frame/plugin_main.h"

#include <cstring>

#include "dialog/dialog_services.h"
#include "dialog/zor_reply.h"
#include "frame/globals.h"
#include "frame/pass_rects.h"
#include "frame/base/host_suites.h"
#include "frame/invocation.h"
#include "frame/settings/persistence.h"
#include "frame/base/random.h"
#include "frame/render_passes.h"
#include "frame/base/result_codes.h"
#include "frame/settings/scripting.h"
#include "frame/settings/scripting_host.h"
#include "frame/settings/settings_defaults.h"
#include "platform/memory.h"


extern "C" void PluginMain(int16_t selector, FilterRecord* filterRecord, DataWord* data, int16_t* result) {
  mac_core_routine(int32_t(selector), filterRecord, data, result);
}

void mac_core_routine(int32_t selector, FilterRecord* filterRecord, DataWord* data, int16_t* result) {
  TurnOffWeirdCFMCallbacks();
  mac_core_routine_really(selector, filterRecord, data, result);
}

void mac_core_routine_for_husk(int32_t selector, FilterRecord* filterRecord, DataWord* data, int16_t* result) {
  mac_core_routine_really(selector, filterRecord, data, result);
}

void mac_core_routine_really(int32_t selector, FilterRecord* filterRecord, DataWord* data, int16_t* result) {
  if (selector == kSelectorAbout) {
    DoAbout_zor(nullptr);
    return;
  }
  if (!data || !result) return;
  bool created = false;
  if (*data == 0) {
    // Zero-filled so that the first invocation sees no stale pointers.
    Handle h = NewHandleClear(sizeof(Globals));
    if (!h) {
      *result = kOutOfMemory;
      return;
    }
    *data = reinterpret_cast<DataWord>(h);
    created = true;
  }
  // The handle's block never moves, so it is the working copy itself: pyramids,
  // polyhedra and task records keep this Globals* across selector calls.
  Globals* globals = reinterpret_cast<Globals*>(*reinterpret_cast<Handle>(*data));
  globals->result = kOK;
  globals->filterRecord = filterRecord;
  if (selector == kSelectorParameters) globals->freshHandle = created ? 1 : 0;

  ValidateParameters(globals);
  if (globals->result != kOK) {
    *result = kOutOfMemory;
    return;
  }
  switch (selector) {
    case kSelectorParameters: DoParameters_zor(globals); break;
    case kSelectorPrepare: DoPrepare_zor(globals); break;
    case kSelectorStart: DoStart_zor(globals); break;
    case kSelectorContinue: DoContinue_zor(globals); break;
    case kSelectorFinish: DoFinish_zor(globals); break;
    default: globals->result = kBadSelector; break;
  }
  *result = globals->result;
}

void DoParameters_zor(Globals* globals) {
  globals->parametersSelectorSeen = 1;
  ValidateParameters(globals);
  if (TParameters* p = Params(globals)) p->showDialog = 1;
}

void DoPrepare_zor(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  fr->bufferSpace = 0;
  ValidateParameters(globals);
  fr->bufferSpace = 0;
  globals->savedFilterRect = fr->filterRect;
  CalcTemporaryDimensions(globals, &fr->filterRect, 1);
  CalcPermanentDimensions(globals);
  MakeBufferRequest(globals);
  globals->taskCount = 1;
  globals->progressWindow = nullptr;
  globals->dialogWindow = nullptr;
  globals->dialogOutcome = 0;
  ReseedOSRandomNumbers();
}

void DoStart_zor(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  ValidateParameters(globals);
  if (!DoGrabbing(globals) || globals->result != kOK) {
    globals->result = kRefused;
    return;
  }
  OncePerInvocationTasksNeedingMemory(globals);
  if (fr->imageMode == kImageModeMultichannel) {
    ShowRefusalMessage3();
    globals->result = kRefused;
  } else if (!Advanceable(fr)) {
    // The image is read into the pyramid tile by tile on request; a host that
    // cannot deliver on request would get a blank result reported as success.
    ShowRefusalMessageNoAdvance();
    globals->result = kRefused;
  }
  if (globals->result == kOK) {
    TParameters* p = Params(globals);
    p->showDialog = ReadScriptParams_zor(globals);
    bool dialogFailed = false;
    if (p->showDialog != 0) {
      UndoSnapshot(globals, 1);
      PromptUserForInput(globals);
      p->showDialog = 0;
      if (globals->result == kOK)
        Settings2Cache(globals);
      else
        dialogFailed = true;
    }
    // A descriptor the host could not close properly was not read as
    // recorded: rendering anyway would report success for other settings.
    if (!dialogFailed && globals->result == kOK) {
      p->runMode = RunMode_Final;
      CommenceLineByLine(globals);
      if (globals->result == kOK) return;
      // A pass that cannot begin ends the invocation here: the host will not
      // call continue, so nothing would free what start allocated.
    }
  }
  DoShutDown(globals);
  KillRects(globals);
}

void DoContinue_zor(Globals* globals) {
  FilterRecord* fr = globals->filterRecord;
  const bool canAdvance = Advanceable(fr);
  for (;;) {
    Manipulate1Line(globals);
    if (globals->result != kOK)
      globals->moreToDo = 0;
    else
      SetOneRowHighRects(globals);
    if (globals->moreToDo != 1) break;
    if (!canAdvance) return;
    globals->result = int16_t(HostAdvanceState(fr->advanceState));
    // The host's error ends the invocation: it will not call continue again.
    if (globals->result != kOK) break;
  }
  Postroll(globals);
  DoShutDown(globals);
  KillRects(globals);
}

void DoFinish_zor(Globals* globals) { WriteScriptParams_zor(globals); }
