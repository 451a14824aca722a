// The descriptor: --set values, the text and binary forms, and the read and
// write procedures as a plug-in uses them.
#include "host/descriptor.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "host/descriptor_suite.h"
#include "platform/memory.h"

namespace gyhost {
namespace {

struct SettingCase {
  const char* arg;
  bool ok;
  DescKind kind;
  int64_t integer;
  double real;
  const char* code;
};

TEST(DescriptorSetting, ValueKindsFollowTheirSpelling) {
  const SettingCase cases[] = {
      {"Foky=Fo45", true, DescKind::Enumerated, 0, 0.0, "Fo45"},
      {"Foky=Fp##", true, DescKind::Enumerated, 0, 0.0, "Fp##"},
      {"0011=1", true, DescKind::Integer, 1, 0.0, nullptr},
      {"0008=-30", true, DescKind::Integer, -30, 0.0, nullptr},
      {"0034=0.25", true, DescKind::Float, 0, 0.25, nullptr},
      {"0034=1e3", true, DescKind::Float, 0, 1000.0, nullptr},
      {"0029=true", true, DescKind::Boolean, 1, 0.0, nullptr},
      {"0029=false", true, DescKind::Boolean, 0, 0.0, nullptr},
      {"0013=1234", true, DescKind::Integer, 1234, 0.0, nullptr},  // four digits are a number, not a code
      {"Foky", false, DescKind::Integer, 0, 0.0, nullptr},
      {"Fok=1", false, DescKind::Integer, 0, 0.0, nullptr},
      {"Foky=Fo4", false, DescKind::Integer, 0, 0.0, nullptr},
      {"Foky=", false, DescKind::Integer, 0, 0.0, nullptr},
  };
  for (const SettingCase& c : cases) {
    DescEntry e;
    std::string error;
    ASSERT_EQ(ParseSetting(c.arg, &e, &error), c.ok) << c.arg;
    if (!c.ok) {
      EXPECT_FALSE(error.empty()) << c.arg;
      continue;
    }
    EXPECT_EQ(e.kind, c.kind) << c.arg;
    EXPECT_EQ(e.integer, c.integer) << c.arg;
    EXPECT_EQ(e.real, c.real) << c.arg;
    if (c.code) {
      FourCC code;
      ASSERT_TRUE(ParseFourCC(c.code, &code));
      EXPECT_EQ(e.value, code) << c.arg;
    }
  }
}

TEST(DescriptorSetting, LaterSetReplacesEarlierInPlace) {
  Descriptor d;
  DescEntry e;
  std::string error;
  ASSERT_TRUE(ParseSetting("Foky=Fo45", &e, &error));
  SetDescriptorEntry(&d, e);
  ASSERT_TRUE(ParseSetting("0011=1", &e, &error));
  SetDescriptorEntry(&d, e);
  ASSERT_TRUE(ParseSetting("Foky=Fo46", &e, &error));
  SetDescriptorEntry(&d, e);
  ASSERT_EQ(d.size(), 2u);
  EXPECT_EQ(d[0].value, MakeFourCC("Fo46"));
  EXPECT_EQ(d[1].key, MakeFourCC("0011"));
}

Descriptor EveryKind() {
  Descriptor d;
  DescEntry e;
  e.key = MakeFourCC("Vers");
  e.kind = DescKind::Integer;
  e.integer = -47;
  d.push_back(e);
  e = DescEntry{MakeFourCC("0034"), DescKind::Float, 0, 0.1, 0, 0, {}};
  d.push_back(e);
  e = DescEntry{MakeFourCC("Unit"), DescKind::UnitFloat, 0, -2.5, MakeFourCC("#Pxl"), 0, {}};
  d.push_back(e);
  e = DescEntry{MakeFourCC("0011"), DescKind::Boolean, 1, 0.0, 0, 0, {}};
  d.push_back(e);
  e = DescEntry{MakeFourCC("Foky"), DescKind::Enumerated, 0, 0.0, MakeFourCC("Foty"), MakeFourCC("Fp##"), {}};
  d.push_back(e);
  e = DescEntry{MakeFourCC("Clss"), DescKind::Class, 0, 0.0, MakeFourCC("Lyr "), 0, {}};
  d.push_back(e);
  e = DescEntry{MakeFourCC("Cnt "), DescKind::Count, 7, 0.0, 0, 0, {}};  // a key with a blank
  d.push_back(e);
  e = DescEntry{0x00010203, DescKind::Text, 0, 0.0, 0, 0, {'h', 'i', ' ', '\n'}};  // unprintable key
  d.push_back(e);
  e = DescEntry{MakeFourCC("Alis"), DescKind::Alias, 0, 0.0, 0, 0, {}};
  d.push_back(e);
  e = DescEntry{MakeFourCC("Name"), DescKind::String, 0, 0.0, 0, 0, {'a', 'b'}};
  d.push_back(e);
  e = DescEntry{MakeFourCC("Objc"), DescKind::Object, 0, 0.0, MakeFourCC("Nest"), 0, {1, 2, 3}};
  d.push_back(e);
  return d;
}

void ExpectSame(const Descriptor& a, const Descriptor& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].key, b[i].key) << i;
    EXPECT_EQ(a[i].kind, b[i].kind) << i;
    EXPECT_EQ(a[i].integer, b[i].integer) << i;
    EXPECT_EQ(a[i].real, b[i].real) << i;  // exactly: recorded floats replay bit for bit
    EXPECT_EQ(a[i].code, b[i].code) << i;
    EXPECT_EQ(a[i].value, b[i].value) << i;
    EXPECT_EQ(a[i].bytes, b[i].bytes) << i;
  }
}

TEST(DescriptorForms, TextAndBinaryRoundTripEveryKind) {
  const Descriptor d = EveryKind();
  Descriptor fromText;
  std::string error;
  const std::string text = FormatDescriptorText(d);
  ASSERT_TRUE(ParseDescriptorText(text, &fromText, &error)) << error << "\n" << text;
  ExpectSame(d, fromText);

  const std::vector<uint8_t> binary = EncodeDescriptor(d);
  Descriptor fromBinary;
  ASSERT_TRUE(DecodeDescriptor(binary.data(), binary.size(), &fromBinary));
  ExpectSame(d, fromBinary);
  for (size_t cut = 0; cut < binary.size(); ++cut) {
    EXPECT_FALSE(DecodeDescriptor(binary.data(), cut, &fromBinary)) << "truncated at " << cut;
  }
}

TEST(DescriptorForms, TextIsOneKeyPerLineInOrder) {
  Descriptor d;
  d.push_back(DescEntry{MakeFourCC("Vers"), DescKind::Integer, 47, 0.0, 0, 0, {}});
  d.push_back(DescEntry{MakeFourCC("Foky"), DescKind::Enumerated, 0, 0.0, MakeFourCC("Foty"), MakeFourCC("Fo45"), {}});
  d.push_back(DescEntry{MakeFourCC("0011"), DescKind::Boolean, 0, 0.0, 0, 0, {}});
  d.push_back(DescEntry{MakeFourCC("0034"), DescKind::Float, 0, 0.5, 0, 0, {}});
  EXPECT_EQ(FormatDescriptorText(d),
            "gyrelle-descriptor 1\n"
            "Vers integer 47\n"
            "Foky enum Foty Fo45\n"
            "0011 boolean false\n"
            "0034 float 0.5\n");
}

TEST(DescriptorForms, BadTextIsRefusedWithTheLine) {
  const char* bad[] = {
      "Vers integer 47\n",                           // no header
      "gyrelle-descriptor 1\nVers integer\n",        // no value
      "gyrelle-descriptor 1\nVers integer x\n",      // not a number
      "gyrelle-descriptor 1\nVers number 1\n",       // unknown kind
      "gyrelle-descriptor 1\nVersinteger 1\n",       // no blank after the key
      "gyrelle-descriptor 1\nFoky enum Foty Fo4\n",  // short code
      "gyrelle-descriptor 1\nVers integer 4294967296\n",
  };
  for (const char* text : bad) {
    Descriptor d;
    std::string error;
    EXPECT_FALSE(ParseDescriptorText(text, &d, &error)) << text;
    EXPECT_FALSE(error.empty());
  }
}

// ---- the suite, as a plug-in drives it ----

class DescriptorSuite : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(CloseForgottenDescriptorTokens(), 0); }
  ReadDescriptorProcs read_ = MakeReadDescriptorProcs();
  WriteDescriptorProcs write_ = MakeWriteDescriptorProcs();
};

TEST_F(DescriptorSuite, ProcedureTablesAreComplete) {
  EXPECT_EQ(read_.readDescriptorProcsVersion, 0);
  EXPECT_EQ(read_.numReadDescriptorProcs, 18);
  EXPECT_EQ(write_.writeDescriptorProcsVersion, 0);
  EXPECT_EQ(write_.numWriteDescriptorProcs, 16);
  // Every procedure slot the tables have is filled.
  const size_t readSlots = (sizeof read_ - offsetof(ReadDescriptorProcs, openReadDescriptorProc)) / sizeof(void*);
  const size_t writeSlots = (sizeof write_ - offsetof(WriteDescriptorProcs, openWriteDescriptorProc)) / sizeof(void*);
  EXPECT_EQ(readSlots, 18u);
  EXPECT_EQ(writeSlots, 16u);
  const void* const* r = reinterpret_cast<const void* const*>(&read_.openReadDescriptorProc);
  for (size_t i = 0; i < readSlots; ++i) EXPECT_NE(r[i], nullptr) << "read proc " << i;
  const void* const* w = reinterpret_cast<const void* const*>(&write_.openWriteDescriptorProc);
  for (size_t i = 0; i < writeSlots; ++i) EXPECT_NE(w[i], nullptr) << "write proc " << i;
}

TEST_F(DescriptorSuite, WrittenKeysReadBackInOrderWithConversions) {
  PIWriteDescriptor w = write_.openWriteDescriptorProc();
  ASSERT_NE(w, nullptr);
  const double twirl = 12.75;
  EXPECT_EQ(write_.putIntegerProc(w, MakeFourCC("Vers"), 47), 0);
  EXPECT_EQ(write_.putIntegerProc(w, MakeFourCC("hqpr"), 1), 0);  // written as integer, read as boolean
  EXPECT_EQ(write_.putFloatProc(w, MakeFourCC("0034"), &twirl), 0);
  EXPECT_EQ(write_.putEnumeratedProc(w, MakeFourCC("Foky"), MakeFourCC("Foty"), MakeFourCC("Fo70")), 0);
  EXPECT_EQ(write_.putBooleanProc(w, MakeFourCC("0011"), 1), 0);
  Handle h = nullptr;
  ASSERT_EQ(write_.closeWriteDescriptorProc(w, &h), 0);
  ASSERT_NE(h, nullptr);

  const DescriptorKeyID keys[] = {MakeFourCC("Vers"), MakeFourCC("hqpr"), MakeFourCC("0034"),
                                  MakeFourCC("Foky"), MakeFourCC("0011"), 0};
  PIReadDescriptor r = read_.openReadDescriptorProc(h, keys);
  ASSERT_NE(r, nullptr);
  DescriptorKeyID key;
  DescType type;
  int32_t flags;
  int32_t i32 = 0;
  uint8_t b = 0;
  double f = 0.0;
  DescriptorEnumID code = 0;

  ASSERT_TRUE(read_.getKeyProc(r, &key, &type, &flags));
  EXPECT_EQ(key, MakeFourCC("Vers"));
  EXPECT_EQ(type, kTypeInteger);
  EXPECT_EQ(read_.getIntegerProc(r, &i32), 0);
  EXPECT_EQ(i32, 47);
  EXPECT_EQ(read_.getFloatProc(r, &f), 0);
  EXPECT_EQ(f, 47.0);
  EXPECT_EQ(read_.getEnumeratedProc(r, &code), kDescCoercionFailed);

  ASSERT_TRUE(read_.getKeyProc(r, &key, &type, &flags));
  EXPECT_EQ(key, MakeFourCC("hqpr"));
  EXPECT_EQ(read_.getBooleanProc(r, &b), 0);
  EXPECT_EQ(b, 1);

  ASSERT_TRUE(read_.getKeyProc(r, &key, &type, &flags));
  EXPECT_EQ(type, kTypeFloat);
  EXPECT_EQ(read_.getFloatProc(r, &f), 0);
  EXPECT_EQ(f, 12.75);
  EXPECT_EQ(read_.getIntegerProc(r, &i32), 0);
  EXPECT_EQ(i32, 13);
  const double lo = 0.0, hi = 10.0;
  EXPECT_EQ(read_.getPinnedFloatProc(r, &lo, &hi, &f), 0);
  EXPECT_EQ(f, 10.0);

  ASSERT_TRUE(read_.getKeyProc(r, &key, &type, &flags));
  EXPECT_EQ(type, kTypeEnumerated);
  EXPECT_EQ(read_.getEnumeratedProc(r, &code), 0);
  EXPECT_EQ(code, MakeFourCC("Fo70"));

  ASSERT_TRUE(read_.getKeyProc(r, &key, &type, &flags));
  EXPECT_EQ(type, kTypeBoolean);
  EXPECT_EQ(read_.getIntegerProc(r, &i32), 0);
  EXPECT_EQ(i32, 1);

  EXPECT_FALSE(read_.getKeyProc(r, &key, &type, &flags));
  EXPECT_EQ(read_.closeReadDescriptorProc(r), 0);
  DisposeHandle(h);
}

TEST_F(DescriptorSuite, CloseReportsAListedKeyThatWasNotDelivered) {
  Descriptor d;
  d.push_back(DescEntry{MakeFourCC("Vers"), DescKind::Integer, 46, 0.0, 0, 0, {}});
  d.push_back(DescEntry{MakeFourCC("Xtra"), DescKind::Integer, 1, 0.0, 0, 0, {}});  // not listed: skipped quietly
  Handle h = DescriptorToHandle(d);
  ASSERT_NE(h, nullptr);
  const DescriptorKeyID listed[] = {MakeFourCC("Vers"), MakeFourCC("0008"), 0};
  PIReadDescriptor r = read_.openReadDescriptorProc(h, listed);
  ASSERT_NE(r, nullptr);
  DescriptorKeyID key;
  DescType type;
  int32_t flags;
  while (read_.getKeyProc(r, &key, &type, &flags)) {
  }
  EXPECT_EQ(read_.closeReadDescriptorProc(r), kResultMissingKey);

  const DescriptorKeyID present[] = {MakeFourCC("Vers"), 0};
  r = read_.openReadDescriptorProc(h, present);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(read_.closeReadDescriptorProc(r), kResultMissingKey);  // opened but nothing delivered yet
  r = read_.openReadDescriptorProc(h, present);
  ASSERT_TRUE(read_.getKeyProc(r, &key, &type, &flags));
  EXPECT_EQ(read_.closeReadDescriptorProc(r), 0);
  DisposeHandle(h);
}

TEST_F(DescriptorSuite, RefusesWhatIsNotADescriptorOrNotAToken) {
  const DescriptorKeyID keys[] = {0};
  EXPECT_EQ(read_.openReadDescriptorProc(nullptr, keys), nullptr);
  Handle junk = NewHandle(6);
  std::memcpy(*junk, "abcdef", 6);
  EXPECT_EQ(read_.openReadDescriptorProc(junk, keys), nullptr);
  DisposeHandle(junk);

  int dummy = 0;
  int32_t v = 0;
  DescriptorKeyID key;
  DescType type;
  int32_t flags;
  EXPECT_EQ(read_.closeReadDescriptorProc(&dummy), kDescParamError);
  EXPECT_FALSE(read_.getKeyProc(&dummy, &key, &type, &flags));
  EXPECT_EQ(read_.getIntegerProc(&dummy, &v), kDescParamError);
  EXPECT_EQ(write_.putIntegerProc(&dummy, MakeFourCC("Vers"), 1), kDescParamError);
  Handle h = nullptr;
  EXPECT_EQ(write_.closeWriteDescriptorProc(&dummy, &h), kDescParamError);
}

TEST_F(DescriptorSuite, GetterBeforeAnyKeyIsAnError) {
  Handle h = DescriptorToHandle(Descriptor{DescEntry{MakeFourCC("Vers"), DescKind::Integer, 1, 0.0, 0, 0, {}}});
  PIReadDescriptor r = read_.openReadDescriptorProc(h, nullptr);
  ASSERT_NE(r, nullptr);
  int32_t v = 0;
  EXPECT_EQ(read_.getIntegerProc(r, &v), kDescParamError);
  EXPECT_EQ(read_.closeReadDescriptorProc(r), 0);  // no key list: nothing can be missing
  DisposeHandle(h);
}

TEST_F(DescriptorSuite, ForgottenTokensAreCountedAndFreed) {
  Handle h = DescriptorToHandle(Descriptor{});
  ASSERT_NE(read_.openReadDescriptorProc(h, nullptr), nullptr);
  ASSERT_NE(write_.openWriteDescriptorProc(), nullptr);
  EXPECT_EQ(CloseForgottenDescriptorTokens(), 2);
  DisposeHandle(h);
}

}  // namespace
}  // namespace gyhost
