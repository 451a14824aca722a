// Layered documents as a second, independent parser reads them: size,
// depth, layer count, names and opacities, and a composite that matches
// ours.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "export/psd/psd_writer.h"
#include "frame/globals.h"
#include "export_host.h"
#include "psd_reader.h"
#include "scratch.h"

namespace {

// The system's own interpreter: the parser is a Debian package.
constexpr const char* kPython = "/usr/bin/python3";

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
  }
  return out;
}

bool HaveParser() {
  return std::system((std::string(kPython) + " -c 'import psd_tools' >/dev/null 2>&1").c_str()) == 0;
}

std::string Check(const std::string& path) {
  return Shell(std::string(kPython) + " '" GYRELLE_TEST_DATA "/check_psd.py' '" + path + "' 2>&1");
}

void Write(const std::string& path, int depth, const std::function<void(TParameters*)>& configure) {
  ExportHost host(40, 20, depth);
  ASSERT_EQ(host.Call(kSelectorPrepare), 0);
  Globals* g = host.OpenInvocation();
  configure(host.Settings());
  const FSRef file = ScratchFolder::Ref(path);
  uint8_t cancelled = 0;
  ASSERT_EQ(WriteImageFile(g, &file, &cancelled, kImageFormatPSD), 0);
  host.CloseInvocation();
}

TEST(OtherReaders, ParserAgreesOnEveryDocumentKind) {
  if (!HaveParser()) GTEST_SKIP() << "python3-psd-tools missing (scripts/setup-debian.sh installs it)";
  const struct {
    const char* what;
    int depth;
    std::function<void(TParameters*)> configure;
    std::vector<std::string> lines;
  } cases[] = {
      {"8-bit result", 8, [](TParameters* p) { p->exportKind = 3; },
       {"size 40 20", "depth 8", "channels 3", "layers 1", "layer Layer 1|40 20|255"}},
      {"16-bit result", 16, [](TParameters* p) { p->exportKind = 3; },
       {"size 40 20", "depth 16", "channels 4", "layers 1", "layer Layer 1|40 20|255"}},
      {"32-bit result", 32, [](TParameters* p) { p->exportKind = 3; },
       {"size 40 20", "depth 32", "channels 3", "layers 1", "layer Layer 1|40 20|255"}},
      {"sized result", 8,
       [](TParameters* p) {
         p->exportKind = 6;
         p->sizedExportWidth = 33;
         p->sizedExportHeight = 17;
       },
       {"size 33 17", "layers 1", "layer Layer 1|33 17|255"}},
      {"face groups of the cube", 8,
       [](TParameters* p) {
         p->exportKind = 2;
         p->outputMode = 7;
         p->facesExportSize = 24;
       },
       {"layers 6", "layer face 1|", "layer face 6|"}},
  };
  for (const auto& c : cases) {
    ScratchFolder dir;
    const std::string path = dir.Path("d.psd");
    Write(path, c.depth, c.configure);
    const std::string out = Check(path);
    // A line ending in '|' is matched as the start of a line.
    for (const std::string& line : c.lines) {
      const std::string wanted = line.back() == '|' ? "\n" + line : line + "\n";
      EXPECT_NE(out.find(wanted), std::string::npos) << c.what << ":\n" << out;
    }
    // The composite's mean as both parsers see it.
    PsdFile ours;
    ASSERT_EQ(ReadPsd(ReadWholeFile(path), &ours), "");
    if (c.depth != 8) continue;
    for (int ch = 0; ch < 3; ++ch) {
      double sum = 0;
      for (uint8_t v : ours.composite[ch]) sum += v;
      const double mean = sum / double(ours.composite[ch].size());
      std::istringstream in(out.substr(out.find("mean " + std::to_string(ch))));
      std::string word;
      int index = 0;
      double theirs = -1;
      in >> word >> index >> theirs;
      EXPECT_NEAR(theirs, mean, 0.01) << c.what << " channel " << ch;
    }
  }
}

}  // namespace
