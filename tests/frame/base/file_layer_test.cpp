// The file layer over the platform's files: byte order of every field, the
// buffered writer's flushes, short reads, names in Mac OS Roman, reference
// making, extensions and whole-file copies.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "frame/base/file_copy.h"
#include "frame/base/file_fields.h"
#include "frame/base/file_layer.h"
#include "frame/base/file_refs.h"
#include "platform/mac_roman.h"
#include "tests/support/settings_host.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Runs `write` on a fresh file opened for writing, answers what it wrote.
Bytes Written(ScratchFolders& folders, const std::function<void(int16_t)>& write) {
  const std::string path = folders.Path("out.bin");
  WriteWholeFile(path, {});
  const FSRef ref = RefOf(path);
  int16_t fork = 0;
  EXPECT_EQ(OpenAFileRef(&ref, &fork, 1, FileKind_Settings), 0);
  write(fork);
  EXPECT_EQ(ZorCloseFile(fork), 0);
  return ReadWholeFile(path);
}

int16_t OpenForReading(const std::string& path) {
  const FSRef ref = RefOf(path);
  int16_t fork = 0;
  EXPECT_EQ(OpenAFileRef(&ref, &fork, 0, FileKind_Reading), 0);
  return fork;
}

TEST(FileFields, WritersLayOutTheirBytes) {
  ScratchFolders folders;
  const struct {
    const char* what;
    std::function<void(int16_t)> write;
    Bytes bytes;
  } cases[] = {
      {"wrSInt32 258", [](int16_t f) { wrSInt32(258, f); }, {0, 0, 1, 2}},
      {"wrSInt32 -2", [](int16_t f) { wrSInt32(-2, f); }, {0xFF, 0xFF, 0xFF, 0xFE}},
      {"wrSInt32_little_endian 258", [](int16_t f) { wrSInt32_little_endian(258, f); }, {2, 1, 0, 0}},
      {"wrIEEEFloatSingle 1.0", [](int16_t f) { wrIEEEFloatSingle(1.0f, f); }, {0x3F, 0x80, 0, 0}},
      {"wrIEEEFloatSingle_little_endian 1.0", [](int16_t f) { wrIEEEFloatSingle_little_endian(1.0f, f); },
       {0, 0, 0x80, 0x3F}},
      {"wrShort 0x1234", [](int16_t f) { wrShort(0x1234, f); }, {0x12, 0x34}},
      {"wrByte", [](int16_t f) { wrByte(0xAB, f); }, {0xAB}},
      {"wrPadBytes 3", [](int16_t f) { wrPadBytes(3, f); }, {0, 0, 0}},
      {"wrPadBytes -1", [](int16_t f) { wrPadBytes(-1, f); }, {}},
      {"wrCStringWithoutNull", [](int16_t f) { wrCStringWithoutNull("ab", f); }, {'a', 'b'}},
      {"TatWrShort in memory order", [](int16_t f) {
         TatWriteBuffer b;
         TatStart(&b, f);
         TatWrShort(0x0102, &b);
         TatWrShort(make_SInt16_bigendian(0x0102), &b);
         TatWrFinish(&b);
       }, {2, 1, 1, 2}},
      {"TatWrSint32 in memory order", [](int16_t f) {
         TatWriteBuffer b;
         TatStart(&b, f);
         TatWrSint32(0x01020304, &b);
         TatWrSint32(make_native_SInt32_bigendian(0x01020304), &b);
         TatWrFinish(&b);
       }, {4, 3, 2, 1, 1, 2, 3, 4}},
  };
  for (const auto& c : cases) EXPECT_EQ(Written(folders, c.write), c.bytes) << c.what;
}

TEST(FileFields, NullStringAnswersItsCode) {
  ScratchFolders folders;
  Written(folders, [](int16_t f) { EXPECT_EQ(wrCStringWithoutNull(nullptr, f), kNullStringArgument); });
}

TEST(FileFields, ShortReadsLeaveTheirTargetsAlone) {
  ScratchFolders folders;
  const std::string path = folders.Path("short.bin");
  WriteWholeFile(path, {0, 0, 1, 2, 0x3F, 0x80});
  const int16_t fork = OpenForReading(path);
  int32_t i = 7;
  float f = 7.0f;
  EXPECT_EQ(NewRdSInt32(&i, fork), 0);
  EXPECT_EQ(i, 258);
  EXPECT_EQ(rdIEEEFloatSingle(&f, fork), kEndOfFile);
  EXPECT_EQ(f, 7.0f);
  EXPECT_EQ(NewRdSInt32(&i, fork), kEndOfFile);
  EXPECT_EQ(i, 258);
  ZorCloseFile(fork);
}

TEST(FileFields, IgnoreBytesStopsAtTheEnd) {
  ScratchFolders folders;
  const std::string path = folders.Path("skip.bin");
  Bytes bytes(600);
  bytes[599] = 9;
  WriteWholeFile(path, bytes);
  const int16_t fork = OpenForReading(path);
  EXPECT_EQ(IgnoreBytes(0, fork), 0);
  EXPECT_EQ(IgnoreBytes(599, fork), 0);
  uint8_t b = 0;
  EXPECT_EQ(RdByte(&b, fork), 0);
  EXPECT_EQ(b, 9);
  EXPECT_EQ(IgnoreBytes(1, fork), kEndOfFile);
  ZorCloseFile(fork);
}

// The buffered writer flushes exactly at 400 bytes, and TatWrFinish writes
// only what is pending.
TEST(FileFields, TatWriterFlushesEvery400Bytes) {
  ScratchFolders folders;
  const std::string path = folders.Path("tat.bin");
  for (const int n : {399, 400, 401, 800}) {
    WriteWholeFile(path, {});
    const FSRef ref = RefOf(path);
    int16_t fork = 0;
    ASSERT_EQ(OpenAFileRef(&ref, &fork, 1, FileKind_Settings), 0);
    TatWriteBuffer b;
    TatStart(&b, fork);
    int32_t last = 0;
    for (int i = 0; i < n; ++i) last = TatWr1Byte(uint8_t(i), &b);
    EXPECT_EQ(last, n % 400) << n;
    EXPECT_EQ(ReadWholeFile(path).size(), size_t(n / 400 * 400)) << n;
    EXPECT_EQ(TatWrFinish(&b), 0);
    EXPECT_EQ(ReadWholeFile(path).size(), size_t(n)) << n;
    EXPECT_EQ(ReadWholeFile(path)[size_t(n - 1)], uint8_t(n - 1));
    ZorCloseFile(fork);
  }
}

TEST(FileFields, TatWriterReportsAFailedFlushAtTheEnd) {
  ScratchFolders folders;
  const std::string path = folders.Path("ro.bin");
  WriteWholeFile(path, {});
  const int16_t fork = OpenForReading(path);
  TatWriteBuffer b;
  TatStart(&b, fork);
  for (int i = 0; i < 450; ++i) TatWr1Byte(1, &b);
  EXPECT_EQ(TatWrFinish(&b), kWritePermission);
  ZorCloseFile(fork);
}

TEST(FileForks, TruncateCutsAtTheMarkAndEmptyMeansZeroLength) {
  ScratchFolders folders;
  const std::string path = folders.Path("cut.bin");
  WriteWholeFile(path, Bytes(10, 7));
  const FSRef ref = RefOf(path);
  int16_t fork = 0;
  ASSERT_EQ(OpenAFileRef(&ref, &fork, 1, FileKind_JPEG), 0);
  EXPECT_FALSE(MacFileLegthIsZero(fork));
  wrSInt32(1, fork);
  EXPECT_EQ(TruncateFile(fork), 0);
  EXPECT_EQ(ReadWholeFile(path), (Bytes{0, 0, 0, 1}));
  MoveFilePointerToBegining(fork);
  TruncateFile(fork);
  EXPECT_TRUE(MacFileLegthIsZero(fork));
  ZorCloseFile(fork);
  EXPECT_EQ(FSOpenForkCount(), 0);
}

TEST(FileForks, ResourceForksAndBadForkNumbersAnswerErrors) {
  ScratchFolders folders;
  const FSRef ref = MakeFile(folders.Path("r.bin"));
  int16_t fork = 0;
  EXPECT_EQ(OpenAFileMacRef_resfork(&ref, &fork, 1), kResourceForkMissing);
  EXPECT_EQ(ZorCloseFile(12345), kBadForkNumber);
  EXPECT_EQ(wrSInt32(1, 0), kBadForkNumber);
  EXPECT_EQ(OpenAFileRef(nullptr, &fork, 0, 0), kNullReferenceArgument);
  const FSRef folder = RefOf(folders.Root());
  EXPECT_EQ(OpenAFileRef(&folder, &fork, 0, 0), kNotAFile);
}

TEST(FileForks, FinderInformationIsAcceptedAndKeptNowhere) {
  ScratchFolders folders;
  const FSRef ref = MakeFile(folders.Path("f.jpg"));
  FourCC type = 0, creator = 0;
  EXPECT_TRUE(FinderTypeCreatorForKind(FileKind_JPEG, &type, &creator));
  EXPECT_EQ(type, MakeFourCC("JPEG"));
  EXPECT_EQ(creator, MakeFourCC("8BIM"));
  EXPECT_FALSE(FinderTypeCreatorForKind(FileKind_Settings, &type, &creator));
  EXPECT_EQ(MacApplyTypeCreator_ref(&ref, type, creator), 0);
  uint8_t info[kFinderInfoBytes];
  EXPECT_EQ(nuGetFileInfo(&ref, info), 0);
  EXPECT_EQ(CatalogInfo_to_FileInfo(nullptr, info), kNullCatalogArgument);
  EXPECT_EQ(MacSetModDateToNow(&ref), 0);
  EXPECT_TRUE(MacFileKindMatches("photo.JPG", 0, ".jpg", MakeFourCC("JPEG")));
  EXPECT_FALSE(MacFileKindMatches("photo.png", 0, ".jpg", MakeFourCC("JPEG")));
}

TEST(MacRoman, EveryByteSurvivesTheTripThroughUtf8) {
  for (int c = 1; c < 256; ++c) {
    const char roman[2] = {char(c), 0};
    char utf8[8], back[4];
    ASSERT_TRUE(MacRomanToUtf8(roman, utf8, sizeof utf8)) << c;
    ASSERT_TRUE(Utf8ToMacRoman(utf8, back, sizeof back)) << c;
    EXPECT_EQ(uint8_t(back[0]), c);
    EXPECT_EQ(back[1], 0);
  }
}

TEST(MacRoman, KnownCharactersAndRefusals) {
  const struct {
    uint8_t roman;
    char32_t unicode;
  } known[] = {{0x80, U'\u00C4'}, {0x8E, U'\u00E9'}, {0xA5, U'\u2022'}, {0xC9, U'\u2026'},
               {0xD2, U'\u201C'}, {0xDB, U'\u20AC'}, {0xF0, U'\uF8FF'}, {0xFF, U'\u02C7'}};
  for (const auto& k : known) EXPECT_EQ(MacRomanToUnicode(k.roman), k.unicode) << int(k.roman);

  char out[16];
  EXPECT_FALSE(Utf8ToMacRoman("a\xE6\x97\xA5" "b", out, sizeof out));  // a CJK character has no byte
  EXPECT_STREQ(out, "a?b");
  EXPECT_FALSE(Utf8ToMacRoman("a\xC3", out, sizeof out));  // cut sequence
  EXPECT_FALSE(Utf8ToMacRoman("\xC0\xAF", out, sizeof out));  // overlong '/'
  // Output is cut between characters, never inside one.
  EXPECT_FALSE(MacRomanToUtf8("ab\x8E", out, 4));
  EXPECT_STREQ(out, "ab");
}

TEST(FileRefs, NamesAreMacRomanAndStayInsideTheirFolder) {
  ScratchFolders folders;
  const FSRef parent = RefOf(folders.Root());
  FSRef made{};
  ASSERT_EQ(CreateNewFileRefFromParentRefAndCName(&parent, "Caf\x8E", &made, 1), 0);
  EXPECT_TRUE(FileExists(folders.Path("Caf\xC3\xA9")));
  char name[kCNameBytes];
  RefToCname(&made, name);
  EXPECT_STREQ(name, "Caf\x8E");
  // A slash is part of the name, as in the Finder, not a path step.
  ASSERT_EQ(CreateNewFileRefFromParentRefAndCName(&parent, "../a/b", &made, 1), 0);
  EXPECT_TRUE(FileExists(folders.Path("..:a:b")));
  RefToCname(&made, name);
  EXPECT_STREQ(name, "../a/b");
  EXPECT_EQ(CreateNewFileRefFromParentRefAndCName(&parent, "..", &made, 1), kBadName);
  EXPECT_EQ(CreateNewFileRefFromParentRefAndCName(&parent, "", &made, 1), kBadName);
  EXPECT_EQ(CreateNewFileRefFromParentRefAndCName(nullptr, "x", &made, 1), kNullReferenceArgument);
}

TEST(FileRefs, ProbeCreateAndReuse) {
  ScratchFolders folders;
  const FSRef parent = RefOf(folders.Root());
  FSRef made{};
  uint8_t existed = 9;
  EXPECT_EQ(RefCreateCore(&parent, "p.txt", &made, 0, &existed, nullptr, 0), kFileNotFound);
  EXPECT_EQ(existed, 0);
  EXPECT_FALSE(FileExists(folders.Path("p.txt")));
  EXPECT_EQ(RefCreateCore(&parent, "p.txt", &made, 0, &existed, nullptr, 1), 0);
  EXPECT_EQ(existed, 0);
  EXPECT_EQ(RefCreateCore(&parent, "p.txt", &made, 0, &existed, nullptr, 1), 0);
  EXPECT_EQ(existed, 1);
  EXPECT_EQ(RefCreateCore(&parent, "p.txt", &made, 0, &existed, nullptr, 0), 0);
  EXPECT_EQ(existed, 1);
  FSRef folder{};
  EXPECT_EQ(ZorDirCreate(&parent, "sub", &folder), 0);
  EXPECT_TRUE(FSRefIsFolder(&folder));
  EXPECT_EQ(ZorDirCreate(&parent, "sub", &folder), 0);
  // A folder cannot be made where a file is, nor inside a file: both fail
  // and say so.
  EXPECT_EQ(ZorDirCreate(&parent, "p.txt", &folder), kDuplicateName);
  EXPECT_EQ(ZorDirCreate(&made, "x", &folder), kFolderNotFound);
  EXPECT_EQ(ZorDirCreate(nullptr, "x", &folder), kNullFolderArgument);
}

TEST(FileRefs, NonCollidingNamesCountUp) {
  ScratchFolders folders;
  const FSRef parent = RefOf(folders.Root());
  MakeFile(folders.Path("a.txt"));
  MakeFile(folders.Path("a 2.txt"));
  MakeFile(folders.Path("a"));
  FSRef made{};
  ASSERT_EQ(CreateNewFileRef_noncolliding(&parent, "a.txt", &made, nullptr), 0);
  EXPECT_STREQ(made.path, folders.Path("a 3.txt").c_str());
  ASSERT_EQ(CreateNewFileRef_noncolliding(&parent, "a", &made, nullptr), 0);
  EXPECT_STREQ(made.path, folders.Path("a 2").c_str());
  ASSERT_EQ(CreateNewFileRef_noncolliding(&parent, "fresh.q2q", &made, nullptr), 0);
  EXPECT_STREQ(made.path, folders.Path("fresh.q2q").c_str());
  // A failure other than a taken name ends the search and is reported.
  EXPECT_EQ(CreateNewFileRef_noncolliding(&parent, "..", &made, nullptr), kBadName);
}

TEST(FileRefs, ExtensionsAndRenumberedNames) {
  const struct {
    const char* name;
    const char* extension;
    const char* stripped;
  } cases[] = {{"archive.tar.gz", ".gz", "archive.tar"}, {"plain", "", "plain"}, {".hidden", ".hidden", ""},
               {"a", "", "a"},                            {"x.", ".", "x"}};
  for (const auto& c : cases) {
    char ext[32], name[32];
    get_extender_with_dot(ext, sizeof ext, c.name);
    EXPECT_STREQ(ext, c.extension) << c.name;
    std::strcpy(name, c.name);
    StripAnyExtender(name);
    EXPECT_STREQ(name, c.stripped) << c.name;
  }
  char out[16];
  EXPECT_TRUE(GenerateRenumbered_C_Filename(out, sizeof out, "a.txt", 12));
  EXPECT_STREQ(out, "a 12.txt");
  EXPECT_FALSE(GenerateRenumbered_C_Filename(out, 6, "a.txt", 12));  // cut, but terminated
  EXPECT_EQ(std::strlen(out), 5u);
}

TEST(FileRefs, RenumberedSiblings) {
  ScratchFolders folders;
  const FSRef source = MakeFile(folders.Path("model name.obj"));
  const struct {
    int32_t number, count;
    const char* extension;
    int32_t modelName;
    const char* tag;
    uint8_t space;
    const char* expected;  // nullptr: the source itself
  } cases[] = {
      {7, 10, nullptr, 0, nullptr, 1, "model name 007.obj"},
      {7, 10, nullptr, 0, nullptr, 0, "model name007.obj"},
      {7, 1, nullptr, 0, nullptr, 1, nullptr},
      {7, 1, ".mtl", 0, nullptr, 1, "model name.mtl"},
      {7, 10, ".stl", 1, nullptr, 0, "model_name007.stl"},
      {7, 10, nullptr, 0, "top", 1, "model name top.obj"},
  };
  for (const auto& c : cases) {
    FSRef out{};
    ASSERT_EQ(GenerateRenumberedFileRef(&source, &out, c.number, c.count, c.extension, c.modelName, c.tag, c.space),
              0);
    const std::string expected = c.expected ? folders.Path(c.expected) : std::string(source.path);
    EXPECT_STREQ(out.path, expected.c_str());
    EXPECT_TRUE(FileExists(out.path));
  }
  FSRef clone{};
  EXPECT_EQ(MakeClonedRefWithNewExtender(".jpg", &clone, &source, 0), 0);
  EXPECT_STREQ(clone.path, folders.Path("model name.jpg").c_str());
}

TEST(FileRefs, PreferencesFilesOnlyInTheConfiguredFolder) {
  ScratchFolders folders;
  FSRef ref{};
  EXPECT_EQ(GetPrefsFileRefC_for_reading(&ref, "missing"), kFileNotFound);
  EXPECT_TRUE(ListFolder(folders.PreferencesFolder()).empty());
  ASSERT_EQ(GetPrefsFileRefC_for_writing(&ref, "present"), 0);
  EXPECT_EQ(ListFolder(folders.PreferencesFolder()), std::vector<std::string>{"present"});
  EXPECT_EQ(GetPrefsFileRefC_for_reading(&ref, "present"), 0);
  EXPECT_TRUE(ListFolder(folders.Path("home")).empty());
  ASSERT_EQ(GetTempFileRefC(&ref, "t"), 0);
  EXPECT_TRUE(FileExists(folders.Path("tmp/t")));
}

TEST(FileRefs, PreferencesFallBackToHomeConfig) {
  ScratchFolders folders;
  ::unsetenv("XDG_CONFIG_HOME");
  FSRef ref{};
  ASSERT_EQ(GetPrefsFileRefC_for_writing(&ref, "p"), 0);
  EXPECT_TRUE(FileExists(folders.Path("home/.config/Gyrelle 2/p")));
  ::setenv("XDG_CONFIG_HOME", "relative/dir", 1);  // ignored: not absolute
  ASSERT_EQ(GetPrefsFileRefC_for_writing(&ref, "q"), 0);
  EXPECT_TRUE(FileExists(folders.Path("home/.config/Gyrelle 2/q")));
}

TEST(FileCopy, CopiesReplaceTheWholeDestination) {
  ScratchFolders folders;
  const struct {
    Bytes source, oldDestination;
  } cases[] = {
      {Bytes(5000, 3), Bytes(10, 9)},  // longer than one buffer
      {Bytes(3, 1), Bytes(9000, 9)},   // a longer old destination loses its tail
      {Bytes(), Bytes(100, 9)},        // an empty source leaves an empty destination
  };
  for (const auto& c : cases) {
    WriteWholeFile(folders.Path("from"), c.source);
    WriteWholeFile(folders.Path("to"), c.oldDestination);
    const FSRef from = RefOf(folders.Path("from")), to = RefOf(folders.Path("to"));
    EXPECT_EQ(MacCopyFromTo(&from, &to), 0);
    EXPECT_EQ(ReadWholeFile(folders.Path("to")), c.source);
  }
  EXPECT_EQ(FSOpenForkCount(), 0);
  EXPECT_EQ(ZorCopyFork(1, 2, nullptr, 10), kBadParameter);
  const FSRef from = RefOf(folders.Path("from"));
  const FSRef gone = RefOf(folders.Path("to"));
  std::remove(folders.Path("to").c_str());
  EXPECT_EQ(MacCopyFromTo(&from, &gone), kFileNotFound);
}

}  // namespace
