// Dialog scripts: a text file of steps that drives the dialog headless, one
// step a line ('#' starts a comment). Points are window coordinates; items
// are the dialog's item numbers; steps address the window named by the last
// "window" step, else the front window.
//
//   window NAME                 steps go to the open window of that name
//   click ITEM [MODS]           press and release at the item's centre
//   click-at X Y [MODS]         MODS: option control shift command
//   drag X0 Y0 X1 Y1 [X Y]...   press, move along the points, release (a release
//                               outside the window drops into the drop folder)
//   move X Y                    the pointer moves there, the button up
//   slide ITEM VALUE            drag a slider's thumb to the value
//   popup ITEM VALUE            choose a popup's item (at once, without its menu)
//   menu ITEM VALUE             click the popup, which opens its menu, and click the item in it
//   menu-pick VALUE             click an item of the menu that is open (scrolled into view first)
//   focus ITEM                  click into an edit field
//   fill ITEM TEXT              click into an edit field, erase it, type TEXT
//   check ITEM 0|1              click a checkbox when it shows the other state
//   type TEXT                   type the rest of the line
//   key [MODS] NAME             return escape tab backspace delete up down left right
//                               home end pageup pagedown, or a letter (with control or
//                               command: a for select all, c copy, x cut, v paste)
//   advance MS                  move the clock on (timers due on the way fire; a
//                               repeating one that falls due very often fires once
//                               for the ticks it missed, as on a busy system)
//   resize WIDTH HEIGHT         the person drags the window to that size
//   chooser PATH|cancel|window  answer the next file chooser, or let it show its
//                               window ("chooser") for the steps that follow
//   chooser-answer              the next chooser takes the host's next answer
//   picker R G B|cancel         answer the next colour picker (16-bit components)
//   drop-file X Y PATH          a file dragged in from outside, let go at X Y
//   drop-folder PATH            where drags let go outside the windows land
//   screenshot PATH             write the window's picture (PNG)
//   expect value ITEM N | expect text ITEM TEXT | expect active ITEM 0|1
//   expect colour ITEM R G B    a swatch's colour (16-bit components)
//   expect window NAME          the front window
//   expect command-ok           no command or step failed so far; else the script
//                               stops, which cancels the open windows
//   expect pixel X Y R G B [TOLERANCE]
//   seed N                      seed the random numbers (dice replay)
//   settle                      wait until no export's progress window is up
//   echo TEXT                   print a line (progress notes)
//
// A script is checked whole before it runs (script_check.h).
#pragma once

#include <cstdint>

#include "platform/ui/event_loop.h"

struct UiScript;

// Null (the message on stderr) when the file cannot be read or is refused.
UiScript* UiLoadScript(const char* path);
// Null (the message on stderr) when the text is refused.
UiScript* UiParseScript(const char* text, const char* name);
const UiFrontEnd* UiScriptFrontEnd(UiScript* script);
// Reports steps not run and frees the script; answers the failed steps.
int32_t UiFinishScript(UiScript* script);
