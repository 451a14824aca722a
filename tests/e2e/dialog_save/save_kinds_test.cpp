// Every save and export command of the dialog through gyrelle's --save and
// --load: the files appear where the save chooser was answered, readable
// by independent tools; failures exit 1, write nothing and keep what was
// there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "save_run.h"

namespace {

int CountLines(const std::string& text) {
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

TEST(DialogSave, SavedSettingsLoadBackToTheSameImage) {
  const SaveRun saved = RunGyrelle("--set Foky=Fo45 --set 0034=30 --save settings=$DIR/look.q2q");
  ASSERT_EQ(saved.status, 0) << saved.err;
  ASSERT_TRUE(Exists(saved.dir + "/look.q2q"));
  // A fresh folder and home: nothing but the file carries the settings.
  const std::string dir = NewDir();
  const SaveRun loaded = RunGyrelle("--load '" + saved.dir + "/look.q2q'", dir);
  ASSERT_EQ(loaded.status, 0) << loaded.err;
  EXPECT_EQ(Slurp(saved.dir + "/out.png"), Slurp(loaded.dir + "/out.png"));
  const SaveRun plain = RunGyrelle("--set Foky=Fo01");
  EXPECT_NE(Slurp(plain.dir + "/out.png"), Slurp(loaded.dir + "/out.png")) << "the load changed nothing";
  for (const SaveRun* r : {&saved, &loaded, &plain}) RemoveDir(r->dir);
}

TEST(DialogSave, SettingsReplaceAnOlderFileOfTheSameName) {
  const std::string dir = NewDir();
  std::system(("printf junk > '" + dir + "/look.q2q'").c_str());
  const SaveRun r = RunGyrelle("--set Foky=Fo45 --save settings=$DIR/look.q2q", dir);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(Slurp(dir + "/look.q2q"), "junk");
  EXPECT_GT(Slurp(dir + "/look.q2q").size(), 1000u);
  std::string listing;
  Shell("ls -a '" + dir + "'", &listing);
  EXPECT_EQ(listing.find("gyrelle-replaced"), std::string::npos) << listing;
  RemoveDir(dir);
}

struct KindCase {
  const char* what;
  const char* args;
  std::vector<const char*> files;  // relative to the run's folder
  const char* tool;                // a command checked on the first file, or null
  const char* expect;              // text its output must hold
};

TEST(DialogSave, EveryKindWritesItsFiles) {
  const KindCase cases[] = {
      {"sized result", "--set Foky=Fo45 --save psd=$DIR/r.psd,width=300,height=200", {"r.psd"},
       "identify -format '%wx%h\\n' r.psd", "300x200"},
      {"proportional result", "--set Foky=Fo45 --save psd=$DIR/p.psd,size=proportional,width=256", {"p.psd"},
       "identify -format '%wx%h\\n' p.psd", "256x128"},
      {"JPEG result", "--set Foky=Fo45 --save jpeg=$DIR/r.jpg", {"r.jpg"}, "exiftool -s3 -Software r.jpg",
       "Gyrelle 2"},
      {"cube map", "--save cubemap=$DIR/cube.psd,face=32",
       {"cube_d.psd", "cube_u.psd", "cube_l.psd", "cube_b.psd", "cube_r.psd", "cube_f.psd"},
       "identify -format '%wx%h\\n' cube_f.psd", "32x32"},
      {"faces", "--set Foky=Fo07 --save faces=$DIR/f.psd,size=64", {"f.psd"}, "identify f.psd", "PSD"},
      {"model", "--set Foky=Fo07 --save obj=$DIR/m.obj,size=64", {"m.obj", "m.mtl", "m.stl"}, "admesh m.stl",
       "Number of facets                 :    12"},
      {"LDraw", "--set Foky=Fo45 --save ldraw=$DIR/b.ldr,layers=5", {"b.ldr"}, "head -2 b.ldr", "Layer 1 of 5"},
      {"brick statistics", "--set Foky=Fo45 --save brickstats=$DIR/s.html,layers=5", {"s.html"},
       "xmllint --html --noout s.html 2>&1 && echo parsed", "parsed"},
      {"presets page", "--save settings=$DIR/one.q2q --save presets=$DIR/presets.html", {"presets.html", "one.q2q"},
       "grep -c one presets.html", "1"},
      {"modes gallery", "--save modes-gallery=$DIR/modes.html", {"modes.html", "web_images"}, nullptr, nullptr},
      {"memory dots gallery", "--save dots-gallery=$DIR/dots.html", {"dots.html", "web_images"}, nullptr, nullptr},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.what);
    const SaveRun r = RunGyrelle(c.args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Exists(r.dir + "/out.png")) << "the render after the save";
    for (const char* f : c.files) EXPECT_TRUE(Exists(r.dir + "/" + f)) << f;
    const std::string tool = c.tool ? std::string(c.tool) : "";
    if (!tool.empty() && HaveTool(tool.substr(0, tool.find(' ')).c_str())) {
      std::string out;
      Shell("cd '" + r.dir + "' && " + tool, &out);
      EXPECT_NE(out.find(c.expect), std::string::npos) << tool << ":\n" << out;
    }
    RemoveDir(r.dir);
  }
}

// The folder chosen for the presets page is the one the page lists, not the
// folder the page is saved in.
TEST(DialogSave, ThePresetsPageListsTheChosenFolder) {
  const std::string presets = std::string(GYRELLE_SOURCE_DIR) + "/tests/frame/settings/data";
  const SaveRun r = RunGyrelle("--save settings=$DIR/here.q2q --save presets=$DIR/presets.html,folder=" + presets);
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string page = Slurp(r.dir + "/presets.html");
  EXPECT_NE(page.find("v07"), std::string::npos) << "a preset of the chosen folder";
  EXPECT_EQ(page.find("here"), std::string::npos) << "a preset beside the page, not chosen";
  RemoveDir(r.dir);
}

TEST(DialogSave, SeveralSavesInOneRunEachWriteTheirFile) {
  const SaveRun r = RunGyrelle("--set Foky=Fo07 --save settings=$DIR/a.q2q --save faces=$DIR/f.psd,size=32 "
                               "--save psd=$DIR/r.psd");
  EXPECT_EQ(r.status, 0) << r.err;
  for (const char* f : {"a.q2q", "f.psd", "r.psd", "out.png"}) EXPECT_TRUE(Exists(r.dir + "/" + f)) << f;
  RemoveDir(r.dir);
}

// A failed export stops the run before the render: exit 1, no result, no
// new file, and a file already at the path is as it was.
TEST(DialogSave, AFailedSaveWritesNothingAndKeepsTheOldFile) {
  const struct {
    const char* what;
    const char* args;
    const char* message;
  } cases[] = {
      {"a layout without a polyhedron", "--set Foky=Fo45 --save faces=$DIR/x.psd",
       "the export needs a polyhedral output mode, such as the cube (--set Foky=Fo07); the output mode draws no polyhedron"},
      {"a model of a floret", "--set Foky=Fr48 --save obj=$DIR/x.obj", "the export needs a polyhedral output mode, such as the cube (--set Foky=Fo07); the output mode is a floret"},
      {"a model of a sheet", "--set Foky=Fo64 --save obj=$DIR/x.obj", "the export needs a polyhedral output mode, such as the cube (--set Foky=Fo07); the output mode is a flat sheet"},
      {"a missing folder", "--save settings=$DIR/no/such/x.q2q", "its folder does not exist"},
      {"a load of a missing file", "--load $DIR/none.q2q", "cannot open"},
      {"a load of a file that is no settings file", "--load $DIR/keep.q2q", "cannot read the settings file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string dir = NewDir();
    std::system(("printf old > '" + dir + "/x.psd'; printf old > '" + dir + "/keep.q2q'").c_str());
    const SaveRun r = RunGyrelle(c.args, dir);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_FALSE(Exists(dir + "/out.png"));
    EXPECT_EQ(Slurp(dir + "/x.psd"), "old");
    EXPECT_EQ(Slurp(dir + "/keep.q2q"), "old");
    RemoveDir(dir);
  }
}

TEST(DialogSave, CancellingTheSaveChooserWritesNothing) {
  const std::string dir = NewDir();
  std::system(("printf old > '" + dir + "/x.q2q'; printf 'chooser cancel\\nclick 26\\nclick 2\\n' > '" + dir +
               "/steps.txt'").c_str());
  const SaveRun r = RunGyrelle("--dialog-script $DIR/steps.txt", dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Slurp(dir + "/x.q2q"), "old");
  RemoveDir(dir);
}

TEST(DialogSave, BadRequestsAreRefusedBeforeAnyWork) {
  const struct {
    const char* args;
    const char* message;
  } cases[] = {
      {"--save bogus=$DIR/x", "unknown kind \"bogus\""},
      {"--save settings", "needs KIND=PATH"},
      {"--save psd=", "needs a file name"},
      {"--save cubemap=$DIR/c.psd,face=big", "face needs a whole number"},
      {"--save psd=$DIR/r.psd,size=huge", "size is image, proportional or custom"},
      // An option the kind does not take is refused, never glued onto the name.
      {"--save settings=$DIR/s.q2q,width=3", "--save settings: unknown option \"width\" (settings takes no options)"},
      {"--save cubemap=$DIR/a.png,bogus=3", "unknown option \"bogus\" (cubemap takes face)"},
      {"--save obj=$DIR/k.obj,colour=red", "unknown option \"colour\" (obj takes size)"},
      {"--save ldraw=$DIR/b.ldr,layer=5", "unknown option \"layer\"; did you mean layers? (ldraw takes layers, plates, "
                                          "dither, plan)"},
      {"--save cubemp=$DIR/c.psd", "unknown kind \"cubemp\"; did you mean cubemap? (the kinds: settings, psd, jpeg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const SaveRun r = RunGyrelle(c.args);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_FALSE(Exists(r.dir + "/out.png"));
    std::string listing;
    Shell("ls -A '" + r.dir + "'", &listing);
    EXPECT_EQ(listing, "err.txt\nhome\n") << "nothing but the run's own files";
    RemoveDir(r.dir);
  }
}

TEST(DialogSave, HelpListsEveryKind) {
  std::string out;
  Shell(std::string("'") + GYRELLE_EXE + "' --help", &out);
  for (const char* kind : {"settings", "psd", "faces", "cubemap", "polymap", "jpeg", "obj", "ldraw", "brickstats",
                           "presets", "modes-gallery", "dots-gallery", "--load FILE", "--dialog-script FILE", "plan=FILE"})
    EXPECT_NE(out.find(kind), std::string::npos) << kind;
  EXPECT_GT(CountLines(out), 20);
}

}  // namespace

namespace {

// The polyhedron map renders only where its layout is built: either the
// map is written whole, or the run says why and writes nothing.
TEST(DialogSave, PolyhedronMapIsWrittenOrRefusedCleanly) {
  const SaveRun r = RunGyrelle("--set Foky=Fo07 --save polymap=$DIR/map.psd,size=64");
  if (r.status == 0) {
    std::string out;
    Shell("identify -format '%wx%h\\n' '" + r.dir + "/map.psd'", &out);
    EXPECT_NE(out.find("128x64"), std::string::npos) << out;
  } else {
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("cannot save"), std::string::npos) << r.err;
    EXPECT_FALSE(Exists(r.dir + "/map.psd"));
    EXPECT_FALSE(Exists(r.dir + "/out.png"));
  }
  RemoveDir(r.dir);
}

}  // namespace

// The output-mode popup lists modes 1 to 289; a mode past it goes through
// the dialog unchanged unless the user picks another item.
TEST(DialogSave, AModePastThePopupSurvivesTheDialog) {
  const SaveRun kept = RunGyrelle("--set Foky=Fr92 --save settings=$DIR/s.q2q --record $DIR/rec.txt");
  EXPECT_EQ(kept.status, 0) << kept.err;
  EXPECT_NE(Slurp(kept.dir + "/rec.txt").find("Foky enum Foty Fr92"), std::string::npos);
  // The file saved by the dialog loads back as the same mode.
  const SaveRun loaded = RunGyrelle("--load " + kept.dir + "/s.q2q --record $DIR/rec.txt");
  EXPECT_EQ(loaded.status, 0) << loaded.err;
  EXPECT_NE(Slurp(loaded.dir + "/rec.txt").find("Foky enum Foty Fr92"), std::string::npos);

  const std::string dir = NewDir();
  std::system(("printf 'popup 51 46\\nclick 2\\n' > '" + dir + "/steps.txt'").c_str());
  const SaveRun picked = RunGyrelle("--set Foky=Fr92 --dialog-script $DIR/steps.txt --record $DIR/rec.txt", dir);
  EXPECT_EQ(picked.status, 0) << picked.err;
  EXPECT_NE(Slurp(dir + "/rec.txt").find("Foky enum Foty Fo45"), std::string::npos) << Slurp(dir + "/rec.txt");
  for (const std::string& d : {kept.dir, loaded.dir, dir}) RemoveDir(d);
}
