// The name table against the texts it was made from, read here by a parser
// of the test's own, and the cases where the lookup rules (gaps, repeats,
// rollouts, glue range) are easy to get wrong.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "export/mode_names.h"
#include "polyhedron/polyhedron_predicates.h"
#include "render/output_modes.h"

namespace {

std::string ReadText(const char* name) {
  std::ifstream in(std::string(GYRELLE_SOURCE_DIR) + "/tools/mode_names/" + name);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// "N "text", N, M "text", ..." into (number, text) in order; bare numbers
// share the text that follows them.
std::vector<std::pair<int, std::string>> ParsePairs(const std::string& text) {
  std::vector<std::pair<int, std::string>> pairs;
  std::vector<int> pending;
  size_t i = 0;
  while (i < text.size()) {
    if (std::isdigit(static_cast<unsigned char>(text[i]))) {
      size_t end = i;
      while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
      pending.push_back(std::stoi(text.substr(i, end - i)));
      i = end;
    } else if (text[i] == '"') {
      size_t close = text.find('"', i + 1);
      std::string word = text.substr(i + 1, close - i - 1);
      for (int n : pending) pairs.emplace_back(n, word);
      pending.clear();
      i = close + 1;
    } else {
      ++i;
    }
  }
  EXPECT_TRUE(pending.empty()) << "numbers without a text";
  return pairs;
}

std::vector<int> ParseNumbers(const std::string& text) {
  std::vector<int> out;
  for (const auto& [n, word] : ParsePairs(text + " \"\"")) out.push_back(n);
  return out;
}

TEST(OutputModeNames, EveryWrittenNameIsTheTablesName) {
  auto names = ParsePairs(ReadText("names.txt"));
  ASSERT_EQ(names.size(), 301u);
  std::set<int> named;
  for (const auto& [mode, name] : names) {
    EXPECT_STREQ(GyrelleOutputModeName(mode), name.c_str()) << "mode " << mode;
    named.insert(mode);
  }
  // Every other number up to past the last has the empty name.
  for (int mode = -5; mode <= 1100; ++mode) {
    if (!named.count(mode)) {
      EXPECT_STREQ(GyrelleOutputModeName(mode), "") << "mode " << mode;
    }
  }
  EXPECT_EQ(OutputModeNameCount(), 301);
  std::set<int> listed;
  for (int i = 0; i < OutputModeNameCount(); ++i) listed.insert(OutputModeNumberAt(i));
  EXPECT_EQ(listed, named);
  EXPECT_EQ(OutputModeNumberAt(-1), 0);
  EXPECT_EQ(OutputModeNumberAt(301), 0);
}

// The renderer keeps a name in each of its rows (it cannot read the exports'
// table); every one must be the table's, the empty name included.
TEST(OutputModeNames, RendererRowsNameModesAsTheTable) {
  int rows = 0;
  for (const OutputModeRow& row : OutputModeTable()) {
    ASSERT_NE(row.name, nullptr) << row.mode;
    EXPECT_STREQ(row.name, GyrelleOutputModeName(row.mode)) << "mode " << row.mode;
    ++rows;
  }
  EXPECT_GT(rows, 100);
}

TEST(OutputModeNames, LaterNumbersRepeatTheirEarlierTwins) {
  const int twins[][2] = {{1035, 256}, {1036, 258}, {1037, 257}, {1038, 259}, {1039, 260},
                          {1040, 261}, {1041, 262}, {1047, 289}, {1048, 290}, {1049, 291}};
  for (const auto& t : twins) EXPECT_STREQ(GyrelleOutputModeName(t[0]), GyrelleOutputModeName(t[1])) << t[0];
  EXPECT_STREQ(GyrelleOutputModeName(288), "folding sphere");
}

TEST(OutputModeNames, SynonymsFollowTheirRulesInOrder) {
  std::map<int, std::string> expected;
  for (const auto& [mode, word] : ParsePairs(ReadText("synonyms.txt"))) expected.emplace(mode, word);
  for (int mode : ParseNumbers(ReadText("conformal.txt"))) expected.emplace(mode, "conformal");
  expected.emplace(139, "orthographic");
  expected.emplace(140, "equal-area");
  int rollouts = 0;
  for (int i = 0; i < OutputModeNameCount(); ++i) {
    int mode = OutputModeNumberAt(i);
    std::string want = expected.count(mode) ? expected[mode] : (OutputModeIsARollout(mode) ? "sphericon" : "");
    rollouts += want == "sphericon";
    EXPECT_EQ(GyrelleOutputModeNameSynonym(mode), want) << "mode " << mode;
  }
  EXPECT_GT(rollouts, 0) << "no mode took the rollout word";
  const std::pair<int, const char*> cases[] = {
      {1, ""}, {94, "conformal"}, {139, "orthographic"}, {36, "globe"}, {38, "globe"},
      {41, "origami"}, {42, "origami"}, {1041, "conformal"}, {0, ""}, {1044, ""},
  };
  for (const auto& [mode, word] : cases) EXPECT_STREQ(GyrelleOutputModeNameSynonym(mode), word) << "mode " << mode;
}

TEST(GlueModeKeywords, EveryWrittenKeywordAndNothingOutside) {
  auto words = ParsePairs(ReadText("glue_keywords.txt"));
  ASSERT_EQ(words.size(), 62u);
  for (const auto& [mode, word] : words) EXPECT_STREQ(GlueModeKeyword(mode), word.c_str()) << "glue " << mode;
  for (int mode : {-1, 0, 63, 1000}) EXPECT_STREQ(GlueModeKeyword(mode), "") << "glue " << mode;
  EXPECT_STREQ(GlueModeKeyword(1), "normal");
  EXPECT_STREQ(GlueModeKeyword(62), "screendim");
}

}  // namespace
