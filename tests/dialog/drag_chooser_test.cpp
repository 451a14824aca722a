// The layer's drags and its file chooser, without the dialog: flavours and
// their errors, a promise kept in the drop folder, drops that fall nowhere;
// the chooser asked in its window by a person, and taken as cancelled when
// nobody is there to ask.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "dialog/drag_and_drop.h"
#include "platform/ui/drag.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/file_chooser.h"
#include "platform/ui/services.h"
#include "platform/ui/window.h"
#include "tests/dialog/ui_fixture.h"

namespace {

struct TempDir {
  TempDir() {
    char dir[] = "/tmp/gyrelle-h-XXXXXX";
    path = mkdtemp(dir) ? dir : "";
  }
  ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }
  std::string path;
};

TEST(Drags, FlavoursAreTypedBytesOfNumberedItems) {
  UiDrag* drag = nullptr;
  ASSERT_EQ(UiNewDrag(&drag), kUiNoErr);
  EXPECT_EQ(UiAddDragItemFlavor(drag, 7, MakeFourCC("TEXT"), "abc", 3, 0), kUiNoErr);
  EXPECT_EQ(UiAddDragItemFlavor(drag, 7, MakeFourCC("TEXT"), "x", 1, 0), kUiDuplicateFlavor);
  EXPECT_EQ(UiAddDragItemFlavor(drag, 9, kUiFlavorColour, "123456", 6, 0), kUiNoErr);
  uint16_t count = 0;
  UiCountDragItems(drag, &count);
  EXPECT_EQ(count, 2);
  uint32_t ref = 0;
  EXPECT_EQ(UiGetDragItemReferenceNumber(drag, 2, &ref), kUiNoErr);
  EXPECT_EQ(ref, 9u);
  EXPECT_EQ(UiGetDragItemReferenceNumber(drag, 3, &ref), kUiBadDragItem);
  char buffer[8] = {};
  uint32_t size = 2;
  EXPECT_EQ(UiGetFlavorData(drag, 7, MakeFourCC("TEXT"), buffer, &size), kUiNoErr);
  EXPECT_EQ(size, 2u) << "no more than asked";
  EXPECT_EQ(std::string(buffer), "ab");
  EXPECT_EQ(UiGetFlavorDataSize(drag, 7, kUiFlavorColour, &size), kUiBadDragFlavor);
  EXPECT_EQ(UiSetDragItemFlavorData(drag, 1, MakeFourCC("TEXT"), "z", 1), kUiBadDragItem);
  UiDisposeDrag(drag);
  EXPECT_EQ(UiLiveDragCount(), 0);
}

struct Kept {
  int calls = 0;
  std::string folder;
};

UiStatus KeepPromise(FourCC flavor, void* ref, uint32_t itemRef, UiDrag* drag) {
  auto* kept = static_cast<Kept*>(ref);
  ++kept->calls;
  char folder[1024];
  EXPECT_EQ(flavor, kUiFlavorFileSpecPromise);
  EXPECT_EQ(UiGetDropFolder(drag, folder, sizeof folder), kUiNoErr);
  kept->folder = folder;
  std::ofstream(kept->folder + "/kept.txt") << "promised\n";
  return UiSetDragItemFlavorData(drag, itemRef, flavor, "kept.txt", 9);
}

const UiItemDefinition kItems[] = {
    {MakeFourCC("TWPP"), 1, kUiKindPushButton, 0, {10, 10, 30, 90}, 0, 0, 1, "Here", nullptr, 0}};
const UiWindowDefinition kWindow{"source", "", 100, 60, kUiWindowClassDocument, 0, kItems, 1};

TEST(Drags, APromiseIsKeptOnlyWhenDroppedIntoAFolder) {
  UiFixture fixture;
  TempDir dir;
  UiWindow* w = UiCreateWindow(&kWindow);
  UiShowWindow(w);
  for (const bool withFolder : {false, true}) {
    UiSetDropFolder(withFolder ? dir.path.c_str() : "");
    UiDrag* drag = nullptr;
    UiNewDrag(&drag);
    Kept kept;
    UiSetDragSendProc(drag, KeepPromise, &kept);
    ASSERT_EQ(AddDragItemFlavorTypePromiseHFS(drag, 392, kSettingsFileType, kSettingsFileCreator, 0,
                                              kUiFlavorFileSpecPromise),
              kUiNoErr);
    // Pressed in the window, let go to its left, outside every window.
    fixture.pending.clear();
    fixture.at = 0;
    fixture.pending.push_back(UiInput{kUiInputMouseMove, w, {-40, 20}, 0, 0, 0, {}, nullptr});
    fixture.pending.push_back(UiInput{kUiInputMouseUp, w, {-40, 20}, 0, 0, 0, {}, nullptr});
    UiNoteMouse(w, UiPoint{20, 20}, true, 0);
    const UiStatus st = UiTrackDrag(drag, w);
    EXPECT_EQ(kept.calls, withFolder ? 1 : 0);
    EXPECT_EQ(st, withFolder ? kUiNoErr : kUiUserCanceled);
    char data[16] = {};
    uint32_t size = sizeof data;
    UiGetFlavorData(drag, 392, kUiFlavorFileSpecPromise, data, &size);
    EXPECT_EQ(std::string(data), withFolder ? "kept.txt" : "");
    UiDisposeDrag(drag);
  }
  UiSetDropFolder("");
  struct stat st;
  EXPECT_EQ(::stat((dir.path + "/kept.txt").c_str(), &st), 0);
  UiDisposeWindow(w);
}

TEST(Drags, OnlyTheFirstFileOfADragDecidesWhetherItIsAPreset) {
  UiDrag* drag = nullptr;
  UiNewDrag(&drag);
  UiHFSFlavor picture{0, 0, 0, "/tmp/a picture.png"}, preset{0, 0, 0, "/tmp/Looks.Q2Q"};
  UiAddDragItemFlavor(drag, 1, MakeFourCC("TEXT"), "no file", 7, 0);
  UiAddDragItemFlavor(drag, 2, kUiFlavorHFS, &picture, sizeof picture, 0);
  UiAddDragItemFlavor(drag, 3, kUiFlavorHFS, &preset, sizeof preset, 0);
  EXPECT_EQ(DragRefContainsAtLeastOnePreset(drag), 0) << "a picture comes first";
  EXPECT_EQ(GetNthPresetFileFromDrag(drag, 3, nullptr), 1) << "capitals count";
  EXPECT_EQ(GetNthPresetFileFromDrag(drag, 1, nullptr), 0);
  UiDisposeDrag(drag);
  EXPECT_TRUE(IsPresetFile("x.q2qx", 0)) << "the extension from the last dot contains .q2q";
  EXPECT_FALSE(IsPresetFile("x.q2q.bak", 0));
  EXPECT_FALSE(IsPresetFile("q2q.txt", 0));
  EXPECT_TRUE(IsPresetFile("anything", kSettingsFileType));
}

bool Next(void* self, UiInput* out, double wait) {
  auto* f = static_cast<UiFixture*>(self);
  if (f->at >= f->pending.size()) {
    out->type = kUiInputEnd;
    return true;
  }
  *out = f->pending[f->at++];
  (void)wait;
  return true;
}

TEST(FileChooser, APersonIsAskedInTheWindowAndNobodyMeansCancelled) {
  UiFixture fixture;
  TempDir dir;
  char path[1024] = {};
  const UiChooserRequest save{kUiPutFile, "Save", "first.q2q", nullptr, nullptr, dir.path.c_str()};
  EXPECT_FALSE(UiRunFileChooser(save, path, sizeof path)) << "a script that queued nothing cancels";
  EXPECT_EQ(UiLiveWindowCount(), 0);

  // At a display: the name field has the focus; a name typed and Return.
  const UiFrontEnd person{&fixture, Next, nullptr, nullptr, nullptr, true};
  UiSetFrontEnd(&person);
  for (int k = 0; k < 9; ++k) fixture.Key(nullptr, kUiKeyBackspace);
  fixture.Type(nullptr, "typed.q2q");
  fixture.Key(nullptr, kUiKeyReturn);
  ASSERT_TRUE(UiRunFileChooser(save, path, sizeof path));
  EXPECT_EQ(std::string(path), dir.path + "/typed.q2q");
  // Cancel (Escape) answers nothing.
  fixture.Key(nullptr, kUiKeyEscape);
  EXPECT_FALSE(UiRunFileChooser(save, path, sizeof path));
  // A queued answer still comes first, with no window.
  UiQueueChooserAnswer("/tmp/given.q2q");
  ASSERT_TRUE(UiRunFileChooser(save, path, sizeof path));
  EXPECT_EQ(std::string(path), "/tmp/given.q2q");
  EXPECT_EQ(UiLiveWindowCount(), 0);
}

TEST(Drags, AtADisplayAPromiseLetGoOutsideAsksForTheFolder) {
  UiFixture fixture;
  TempDir dir;
  const UiFrontEnd person{&fixture, Next, nullptr, nullptr, nullptr, true};
  UiSetFrontEnd(&person);
  UiWindow* w = UiCreateWindow(&kWindow);
  UiShowWindow(w);
  UiDrag* drag = nullptr;
  UiNewDrag(&drag);
  Kept kept;
  UiSetDragSendProc(drag, KeepPromise, &kept);
  AddDragItemFlavorTypePromiseHFS(drag, 392, kSettingsFileType, kSettingsFileCreator, 0, kUiFlavorFileSpecPromise);
  fixture.pending.push_back(UiInput{kUiInputMouseMove, w, {-40, 20}, 0, 0, 0, {}, nullptr});
  fixture.pending.push_back(UiInput{kUiInputMouseUp, w, {-40, 20}, 0, 0, 0, {}, nullptr});
  // The chooser: a press into its name field, the folder typed, Return.
  fixture.Click(nullptr, 267, 301);
  fixture.Type(nullptr, dir.path.c_str());
  fixture.Key(nullptr, kUiKeyReturn);
  UiNoteMouse(w, UiPoint{20, 20}, true, 0);
  EXPECT_EQ(UiTrackDrag(drag, w), kUiNoErr);
  EXPECT_EQ(kept.calls, 1);
  EXPECT_EQ(kept.folder, dir.path);
  UiDisposeDrag(drag);
  UiDisposeWindow(w);
}

}  // namespace
