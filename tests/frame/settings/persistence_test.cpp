// The files of the Preferences folder and the open and save dispatch: the
// cached settings, memory dots, the memory-dot map, presets.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/base/file_layer.h"
#include "frame/globals.h"
#include "frame/settings/persistence.h"
#include "frame/save_dispatch.h"
#include "frame/settings/settings_file.h"
#include "tests/support/settings_host.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct PersistenceTest : testing::Test {
  ScratchFolders folders;
  SettingsHost host;
  InvocationStorage* storage = static_cast<InvocationStorage*>(std::calloc(1, sizeof(InvocationStorage)));
  PersistenceTest() { host.globals->storage = storage; }
  ~PersistenceTest() override {
    host.globals->storage = nullptr;
    std::free(storage);
  }
  TParameters* p() { return host.Settings(); }
  std::string Pref(const std::string& name) { return folders.PreferencesFolder() + "/" + name; }
};

TEST_F(PersistenceTest, TheCacheCarriesSettingsToTheNextInvocation) {
  EXPECT_EQ(ReadCachedSettings(host.globals), kFileNotFound);
  EXPECT_EQ(p()->outputMode, 1);
  p()->outputMode = 77;
  p()->twirlX = 12.25f;
  Settings2Cache(host.globals);
  EXPECT_EQ(ListFolder(folders.PreferencesFolder()), std::vector<std::string>{kCachedSettingsFileName});
  p()->outputMode = 5;
  p()->twirlX = 0.0f;
  Cache2Settings(host.globals);
  EXPECT_EQ(p()->outputMode, 77);
  EXPECT_EQ(p()->twirlX, 12.25f);
  // Nothing lands outside the configured folder.
  EXPECT_TRUE(ListFolder(folders.Path("home")).empty());
  EXPECT_TRUE(ListFolder(folders.Path("tmp")).empty());
}

TEST_F(PersistenceTest, TheMemoryDotMapIs104BytesAndRoundTrips) {
  for (int i = 0; i < kMemoryDotCount; ++i) storage->memdotPersistent[i] = i % 3 == 0;
  storage->memdotPersistent[24] = 7;
  // An older, longer map is cut, not left with a tail.
  ::mkdir(folders.PreferencesFolder().c_str(), 0755);
  WriteWholeFile(Pref(kMemdotMapFileName), Bytes(500, 0xAA));
  WriteInvocationBracketingSettingsFile(host.globals);
  const Bytes map = ReadWholeFile(Pref(kMemdotMapFileName));
  ASSERT_EQ(map.size(), size_t(kMemdotMapBytes));
  EXPECT_EQ(Bytes(map.begin(), map.begin() + 12), (Bytes{0, 0, 0, 47, 0, 0, 0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(Bytes(map.end() - 4, map.end()), (Bytes{0, 0, 0, 7}));

  std::memset(storage->memdotPersistent, 0, sizeof storage->memdotPersistent);
  ReadInvocationBracketingSettingsFile(host.globals);
  EXPECT_EQ(storage->memdotPersistent[0], 1);
  EXPECT_EQ(storage->memdotPersistent[1], 0);
  EXPECT_EQ(storage->memdotPersistent[24], 7);
}

TEST_F(PersistenceTest, AMissingOrShortMapChangesNothing) {
  storage->memdotPersistent[3] = 1;
  EXPECT_EQ(ReadMemdotMap(host.globals), kFileNotFound);
  ::mkdir(folders.PreferencesFolder().c_str(), 0755);
  WriteWholeFile(Pref(kMemdotMapFileName), Bytes(50, 0));
  EXPECT_EQ(ReadMemdotMap(host.globals), kEndOfFile);
  EXPECT_EQ(storage->memdotPersistent[3], 1);
}

TEST_F(PersistenceTest, MemoryDotsSaveLoadAndMiss) {
  p()->glueMode = 17;
  ASSERT_EQ(SaveToMemoryDot(host.globals, 7), 0);
  EXPECT_TRUE(FileExists(Pref("Gyrelle 2 memory dot 7.q2q")));
  p()->glueMode = 2;
  EXPECT_EQ(LoadFromMemoryDot(host.globals, 7), 0);
  EXPECT_EQ(p()->glueMode, 17);
  EXPECT_EQ(LoadFromMemoryDot(host.globals, 8), kFileNotFound);
  EXPECT_EQ(p()->glueMode, 17);
  EXPECT_EQ(SaveToMemoryDot(host.globals, kStashMemoryDot), 0);
  EXPECT_EQ(SaveToMemoryDot(host.globals, 26), kBadParameter);
  EXPECT_EQ(SaveToMemoryDot(host.globals, -1), kBadParameter);
}

TEST_F(PersistenceTest, AMemoryDotThatCannotBeWrittenSaysSo) {
  ::mkdir(folders.PreferencesFolder().c_str(), 0755);
  ::mkdir(Pref("Gyrelle 2 memory dot 3.q2q").c_str(), 0755);
  EXPECT_NE(SaveToMemoryDot(host.globals, 3), 0);
}

TEST_F(PersistenceTest, SavingAPresetNamesTheSettingsAfterTheFile) {
  const FSRef file = MakeFile(folders.Path("Blue \xC3\xA9t\xC3\xA9.q2q"));  // e-acute in UTF-8 on disk
  p()->outputMode = 42;
  ASSERT_EQ(DoSaveThings(host.globals, &file, 0, SaveKind_Settings), 0);
  EXPECT_STREQ(p()->settingsName, "Blue \x8E" "t\x8E.q2q");  // and in Mac OS Roman in the record
  EXPECT_GT(ReadWholeFile(file.path).size(), 340u);
  EXPECT_EQ(p()->settingsVersion, 47);
}

TEST_F(PersistenceTest, OpeningAPresetStartsFromTheDefaults) {
  // An old preset lacks the later fields: they take their defaults, not the
  // values the record had.
  const FSRef file = RefOf(std::string(GYRELLE_TEST_DATA) + "/v27.q2q");
  p()->cubeFaceSize = 999;
  EXPECT_EQ(DoOpenThings(host.globals, &file, SaveKind_Settings), 1);
  EXPECT_EQ(p()->cubeFaceSize, 256);
  EXPECT_EQ(p()->outputMode, 33);
  EXPECT_STREQ(p()->settingsName, "v27.q2q");
}

TEST_F(PersistenceTest, AnUnreadablePresetLeavesTheSettingsAsTheyWere) {
  const std::string path = folders.Path("broken.q2q");
  WriteWholeFile(path, Bytes{0, 0, 0, 47, 1, 2});
  const FSRef file = RefOf(path);
  p()->cubeFaceSize = 999;
  EXPECT_EQ(DoOpenThings(host.globals, &file, SaveKind_Settings), 0);
  EXPECT_EQ(p()->cubeFaceSize, 999);
  EXPECT_STREQ(p()->settingsName, kDefaultSettingsName);
}

// Every kind a dialog passes reaches a writer (whatever it then answers in
// this host without an image or a solid); kinds no dialog passes are
// refused and leave the file alone.
TEST_F(PersistenceTest, DispatchAnswersForEveryKind) {
  const FSRef file = MakeFile(folders.Path("x.out"));
  const struct {
    int32_t kind, open;
  } cases[] = {
      {SaveKind_PSD, 0},   {SaveKind_BrickStats, 1},  {SaveKind_PresetsPage, 1},        {SaveKind_LDraw, 0},
      {SaveKind_Model, 0}, {SaveKind_EquiPolyMap, 0}, {SaveKind_OutputModesGallery, 0}, {SaveKind_MemoryDotsGallery, 0},
  };
  for (const auto& c : cases) {
    const int32_t e = DoSaveThings(host.globals, &file, 0, c.kind);
    EXPECT_NE(e, kWriterNotBuilt) << c.kind;
    EXPECT_EQ(DoOpenThings(host.globals, &file, c.kind), c.open) << c.kind;
  }
  const FSRef untouched = MakeFile(folders.Path("y.out"));
  for (int32_t kind : {1, 99}) {
    EXPECT_EQ(DoSaveThings(host.globals, &untouched, 0, kind), kBadParameter) << kind;
    EXPECT_EQ(DoOpenThings(host.globals, &untouched, kind), 0) << kind;
  }
  EXPECT_TRUE(ReadWholeFile(untouched.path).empty());
}

}  // namespace
