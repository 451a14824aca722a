// Small services the dialog asks of the system: a standard caution alert
// (a window of the layer's own), the file chooser's scripted answers, and
// opening a URL or a file with the desktop's opener.
#pragma once

#include <cstdint>

// Shows a caution alert with a title line and a message and waits for OK;
// answers the item hit (1).
int32_t UiRunCautionAlert(const char* title, const char* message);

// Answers given in advance to the next file choosers, in order (a script's
// "chooser" steps): a path, or null for Cancel. At most 8 wait.
void UiQueueChooserAnswer(const char* pathOrNull);
// The next answer: true with the path, false when cancelled or none waits.
bool UiTakeChooserAnswer(char* path, int32_t size);
// Instead of an answer: the next chooser shows its window (a script's
// "chooser window" step), to be driven by the steps that follow.
void UiQueueChooserWindow();
enum UiChooserAnswerKind : int32_t { kUiChooserNone = 0, kUiChooserPath, kUiChooserCancel, kUiChooserWindow };
// What waits first, without taking it.
UiChooserAnswerKind UiPeekChooserAnswer();

// A command of the dialog that failed (a save that could not be written, a
// file that could not be read): the message goes to stderr and is counted,
// so that a scripted run can stop and its caller tell failure from success.
void UiNoteCommandFailure(const char* message);
// Where the dialog's own notes and failures go: stderr, unless a host that
// wrote the steps itself takes them, to tell the user in its own words.
using UiMessageHook = void (*)(const char* message);
void UiSetMessageHook(UiMessageHook hook);
void UiSay(const char* message);
int32_t UiCommandFailureCount();

// Where a script's "seed N" step goes: the owner of the random numbers
// registers its seeding, so that dice in a scripted run can be replayed.
void UiSetRandomSeedHook(void (*seed)(uint64_t));
bool UiSeedRandom(uint64_t seed);

// Opens a URL or a file with the desktop's opener, and records it; 0, or -1
// when nothing can open it.
int32_t UiLaunchURL(const char* url);
const char* UiLastLaunched();
