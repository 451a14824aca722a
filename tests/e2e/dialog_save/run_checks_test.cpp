// What a run with saves checks before any work, and what it tells the user:
// two writes to one file, a write over the input or onto a folder, a step
// that fails; and the chooser opening where the image is.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "save_run.h"

namespace {

const std::string kPanorama = std::string(GYRELLE_SOURCE_DIR) + "/resources/default_panorama.png";

std::string Listing(const std::string& dir) {
  std::string out;
  Shell("cd '" + dir + "' && find . -path ./home -prune -o -path ./err.txt -prune -o -print | sort", &out);
  return out;
}

TEST(RunChecks, WritesThatMeetAreRefusedBeforeAnyWork) {
  const struct {
    const char* what;
    const char* prepare;  // shell, in the run's folder
    const char* args;
    const char* message;
  } cases[] = {
      {"a save onto OUTPUT", "", "--save jpeg=$DIR/out.png", "--save jpeg and OUTPUT would both write"},
      {"a link to OUTPUT", "ln -s out.png link.png", "--save psd=$DIR/link.png", "--save psd and OUTPUT would both write"},
      {"a cube face onto another save", "", "--save cubemap=$DIR/c.psd --save psd=$DIR/c_f.psd",
       "--save cubemap and --save psd would both write"},
      {"a model's texture onto another save", "", "--set Foky=Fo07 --save obj=$DIR/m.obj --save jpeg=$DIR/m.jpg",
       "--save obj and --save jpeg would both write"},
      {"one file by two names", "mkdir sub", "--save settings=$DIR/a.q2q --save settings=$DIR/sub/../a.q2q",
       "--save settings and --save settings would both write"},
      {"a hard link to the input", "ln '" GYRELLE_SOURCE_DIR "/resources/default_panorama.png' pano.png 2>/dev/null ||"
                                   " ln -s '" GYRELLE_SOURCE_DIR "/resources/default_panorama.png' pano.png",
       "--save settings=$DIR/pano.png", "would write over the input"},
      {"a cube face whose name grows too long", "", "--save cubemap=$DIR/%LONG%.psd", "bytes long"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string dir = NewDir();
    if (*c.prepare) std::system(("cd '" + dir + "' && " + c.prepare).c_str());
    std::string args = c.args;
    if (const size_t at = args.find("%LONG%"); at != std::string::npos) args.replace(at, 6, std::string(252, 'c'));
    const std::string before = Listing(dir);
    const SaveRun r = RunGyrelle(args, dir);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(Listing(dir), before);
    RemoveDir(dir);
  }
  // OUTPUT over the input, by the input's own name and by a hard link.
  const std::string dir = NewDir();
  std::system(("cp '" + kPanorama + "' '" + dir + "/in.png' && ln '" + dir + "/in.png' '" + dir + "/hard.png'").c_str());
  for (const char* output : {"in.png", "./in.png", "hard.png"}) {
    SCOPED_TRACE(output);
    std::string err;
    const int status = Shell("cd '" + dir + "' && '" GYRELLE_EXE "' -q in.png " + output + " 2>&1", &err);
    EXPECT_EQ(status, 2) << err;
    EXPECT_NE(err.find("OUTPUT would write over the input in.png"), std::string::npos) << err;
  }
  std::string same;
  Shell("cmp '" + dir + "/in.png' '" + kPanorama + "' && echo same", &same);
  EXPECT_EQ(same, "same\n");
  RemoveDir(dir);
}

TEST(RunChecks, AFolderOrADeviceIsNeverReplaced) {
  const std::string dir = NewDir();
  std::system(("mkdir '" + dir + "/keep' && printf x > '" + dir + "/keep/inside'").c_str());
  const std::string before = Listing(dir);
  for (const std::string& args : {std::string("--save settings=$DIR/keep"), std::string("--save jpeg=/dev/null"),
                                  std::string("--save cubemap=$DIR/keep/../keep.psd --save settings=$DIR/keep")}) {
    SCOPED_TRACE(args);
    const SaveRun r = RunGyrelle(args, dir);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("is never replaced; nothing was written"), std::string::npos) << r.err;
    EXPECT_EQ(Listing(dir), before);
  }
  struct stat st;
  EXPECT_TRUE(::stat("/dev/null", &st) == 0 && S_ISCHR(st.st_mode));
  RemoveDir(dir);
}

// Exit 1 means nothing was written: a step that fails keeps the result
// from being written, whether the steps came from a script or from the saves.
TEST(RunChecks, AFailedStepWritesNoResult) {
  const struct {
    const char* what;
    const char* steps;
    const char* args;
    const char* message;
    bool generated;  // every step is the host's own: none of them may show
  } cases[] = {
      {"a script's step", "expect value 999 1\nclick 2\n", "--dialog-script $DIR/steps.txt",
       "a step of the dialog script failed (see above)", false},
      {"a script after saves", "expect value 999 1\nclick 2\n", "--save settings=$DIR/s.q2q --dialog-script $DIR/steps.txt",
       "/steps.txt:1: no item 999", false},
      {"a save the layout cannot export", "", "--save faces=$DIR/f.psd",
       "the export needs a polyhedral output mode, such as the cube (--set Foky=Fo07)", true},
      {"a save into a missing folder", "", "--save psd=$DIR/none/r.psd", "folder does not exist", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string dir = NewDir();
    std::system(("printf '" + std::string(c.steps) + "' > '" + dir + "/steps.txt'").c_str());
    const SaveRun r = RunGyrelle(c.args, dir);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("was not written"), std::string::npos) << r.err;
    EXPECT_FALSE(Exists(dir + "/out.png"));
    // The user reads what failed, not the machinery: no step numbers of the
    // generated steps, no windows' names, no "cancelled".
    for (const char* chatter : {"dialog steps", "item 83", "xparams", "cancel", "error -"})
      if (c.generated || std::string(chatter) == "cancel")
        EXPECT_EQ(r.err.find(chatter), std::string::npos) << chatter << " in\n" << r.err;
    RemoveDir(dir);
  }
}

// A save that fails for the disk's sake says so in the user's words. The
// disks are small file systems of their own, where this machine lets the
// test mount them.
TEST(RunChecks, DiskFailuresAreToldInWords) {
  const std::string dir = NewDir();
  const struct {
    const char* options;
    const char* fill;  // shell, run in the disk once mounted
    const char* message;
  } disks[] = {{"size=96k", "head -c 80000 /dev/zero > filler", "the disk is full"},
               {"size=96k,ro", "true", "is read-only"}};
  for (const auto& d : disks) {
    SCOPED_TRACE(d.message);
    const std::string disk = dir + "/disk";
    ::mkdir(disk.c_str(), 0755);
    if (std::system(("mount -t tmpfs -o " + std::string(d.options) + " tmpfs '" + disk + "' 2>/dev/null").c_str()) != 0) {
      RemoveDir(dir);
      GTEST_SKIP() << "no small disk can be mounted here";
    }
    std::system(("cd '" + disk + "' && " + d.fill).c_str());
    const std::string before = Listing(disk);
    for (const char* kind : {"psd=$DIR/disk/r.psd", "jpeg=$DIR/disk/r.jpg"}) {
      SCOPED_TRACE(kind);
      const SaveRun r = RunGyrelle(std::string("--save ") + kind, dir);
      EXPECT_EQ(r.status, 1) << r.err;
      EXPECT_NE(r.err.find(d.message), std::string::npos) << r.err;
      EXPECT_EQ(r.err.find("error -"), std::string::npos) << r.err;
      EXPECT_EQ(r.err.find("cancel"), std::string::npos) << r.err;
      EXPECT_EQ(Listing(disk), before);
    }
    std::system(("umount '" + disk + "'").c_str());
  }
  RemoveDir(dir);
}

TEST(RunChecks, TheBrickPlanCanBeAskedFor) {
  for (const char* kind : {"ldraw=$DIR/b.ldr", "brickstats=$DIR/b.html"}) {
    SCOPED_TRACE(kind);
    const SaveRun r = RunGyrelle(std::string("--set Foky=Fo45 --save ") + kind + ",layers=5,plan=$DIR/plan.psd");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Exists(r.dir + (std::string(kind).find("ldr") != std::string::npos ? "/b.ldr" : "/b.html")));
    EXPECT_EQ(Slurp(r.dir + "/plan.psd").substr(0, 4), "8BPS");
    RemoveDir(r.dir);
  }
}

// The chooser opens in the image's folder, then where the last file was
// chosen.
TEST(RunChecks, TheChooserStartsWhereTheImageIsThenWhereTheLastFileWent) {
  const std::string dir = NewDir();
  ::mkdir((dir + "/sub").c_str(), 0755);
  const std::string steps = "chooser window\nclick 26\nwindow chooser\nexpect text 2 " GYRELLE_SOURCE_DIR
                            "/resources\nfill 4 " + dir + "/sub/a.q2q\nclick 8\nwindow xparams\n"
                            "chooser window\nclick 26\nwindow chooser\nexpect text 2 " + dir +
                            "/sub\nclick 9\nwindow xparams\nclick 2\n";
  std::system(("printf '%s' '" + steps + "' > '" + dir + "/steps.txt'").c_str());
  const SaveRun r = RunGyrelle("--dialog-script $DIR/steps.txt", dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Exists(dir + "/sub/a.q2q"));
  RemoveDir(dir);
}

}  // namespace
