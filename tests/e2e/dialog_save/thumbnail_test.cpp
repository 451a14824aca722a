// The icon every saved document and settings file gets, as the desktop's
// file managers find it: a PNG in the shared thumbnail store named by the
// MD5 of the file's URI, carrying that URI, the file's time and size. The
// PNG is read back with Python's own zlib, the names hashed by Python, and,
// where GIO is installed, the file manager's library is asked whether it
// takes the thumbnail as the file's.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>

#include "save_run.h"

namespace {

struct Thumbnail {
  bool read = false;
  int width = 0, height = 0, colourType = 0;
  std::map<std::string, std::string> text;
  std::map<std::string, int> alpha;  // "x,y" -> alpha
};

// The points of the 116 x 58 picture's shadow: one and five pixels left of
// it, one and two above, one to six below, and inside.
const char* const kProbes[] = {"5,60", "1,60", "60,34", "60,33", "60,93", "60,94", "60,95",
                               "60,96", "60,97", "60,98", "60,60", "0,0"};
const std::map<std::string, int> kShadowOfAWidePicture = {
    {"5,60", 91}, {"1,60", 0},   {"60,34", 30}, {"60,33", 9}, {"60,93", 163}, {"60,94", 127},
    {"60,95", 91}, {"60,96", 58}, {"60,97", 30}, {"60,98", 9}, {"60,60", 255}, {"0,0", 0}};

Thumbnail ReadThumbnail(const std::string& path) {
  std::string command = "python3 '" GYRELLE_SOURCE_DIR "/tests/e2e/dialog_save/data/read_png.py' '" + path + "'";
  for (const char* p : kProbes) command += std::string(" ") + p;
  Thumbnail t;
  std::string out;
  if (Shell(command, &out) != 0) return t;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream in(line);
    std::string what;
    in >> what;
    if (what == "size") {
      in >> t.width >> t.height >> t.colourType;
    } else if (what == "text") {
      std::string key, value;
      in >> key;
      std::getline(in >> std::ws, value);
      t.text[key] = value;
    } else if (what == "alpha") {
      int x, y, a;
      in >> x >> y >> a;
      t.alpha[std::to_string(x) + "," + std::to_string(y)] = a;
    }
  }
  t.read = true;
  return t;
}

std::string MD5Of(const std::string& text) {
  std::string out;
  Shell("printf '%s' '" + text + "' | python3 -c 'import hashlib,sys; print(hashlib.md5(sys.stdin.buffer.read()).hexdigest())'",
        &out);
  return out.substr(0, 32);
}

int ModeOf(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

struct SavedFile {
  const char* name;      // in the run's folder
  const char* uriTail;   // the URI after the folder's
  bool widePicture;      // the 2:1 result, fitted as 116 x 58
};

TEST(SavedFileIcons, EachSavedFileHasItsThumbnail) {
  if (!HaveTool("python3")) GTEST_SKIP() << "python3 reads the thumbnails back";
  const SavedFile files[] = {
      {"a b é.psd", "/a%20b%20%C3%A9.psd", true},
      {"r 50%.jpg", "/r%2050%25.jpg", true},
      {"look.q2q", "/look.q2q", false},  // the settings preview: the result's centred square
  };
  const SaveRun r = RunGyrelle("--set Foky=Fo45 --save 'psd=$DIR/a b é.psd' --save 'jpeg=$DIR/r 50%.jpg' "
                               "--save settings=$DIR/look.q2q",
                               "", "XDG_CACHE_HOME='$DIR/cache'");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string store = r.dir + "/cache/thumbnails/normal";
  for (const std::string& folder : {r.dir + "/cache", r.dir + "/cache/thumbnails", store})
    EXPECT_EQ(ModeOf(folder), 0700) << folder << " is made private";
  std::string listing;
  Shell("ls -A '" + store + "'", &listing);
  EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 3) << "no temporaries left: " << listing;
  for (const SavedFile& f : files) {
    SCOPED_TRACE(f.name);
    const std::string path = r.dir + "/" + f.name, uri = "file://" + r.dir + f.uriTail;
    const std::string thumbnail = store + "/" + MD5Of(uri) + ".png";
    ASSERT_TRUE(Exists(thumbnail)) << uri << "\n" << listing;
    EXPECT_EQ(ModeOf(thumbnail), 0600);
    const Thumbnail t = ReadThumbnail(thumbnail);
    ASSERT_TRUE(t.read);
    EXPECT_EQ(t.width, 128);
    EXPECT_EQ(t.height, 128);
    EXPECT_EQ(t.colourType, 6) << "RGBA";
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(t.text.at("Thumb::URI"), uri);
    EXPECT_EQ(t.text.at("Thumb::MTime"), std::to_string(st.st_mtime));
    EXPECT_EQ(t.text.at("Thumb::Size"), std::to_string(st.st_size));
    if (f.widePicture) {
      EXPECT_EQ(t.alpha, kShadowOfAWidePicture);
    } else {
      EXPECT_EQ(t.alpha.at("60,60"), 255);
      EXPECT_EQ(t.alpha.at("0,0"), 0) << "transparent outside the shadow";
    }
    if (HaveTool("gio")) {
      std::string info;
      Shell("XDG_CACHE_HOME='" + r.dir + "/cache' gio info -a thumbnail::path,thumbnail::is-valid '" + path + "'",
            &info);
      EXPECT_NE(info.find("thumbnail::path: " + thumbnail), std::string::npos) << info;
      EXPECT_NE(info.find("thumbnail::is-valid: TRUE"), std::string::npos) << info;
    }
  }
  RemoveDir(r.dir);
}

// Where the store cannot be written, the files are saved all the same,
// whole, and nothing is written anywhere else.
TEST(SavedFileIcons, AnUnwritableStoreLeavesTheSavesAlone) {
  const SaveRun good = RunGyrelle("--set Foky=Fo45 --save psd=$DIR/r.psd --save settings=$DIR/s.q2q", "",
                                  "XDG_CACHE_HOME='$DIR/cache'");
  ASSERT_EQ(good.status, 0) << good.err;
  struct Case {
    const char* what;
    const char* setUp;  // run in the folder before gyrelle
  } cases[] = {
      {"the cache is a file", "printf x > cache"},
      {"the store's folder is a file", "mkdir -p cache/thumbnails && printf x > cache/thumbnails/normal"},
      {"the cache's folder is missing", "true"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string dir = NewDir();
    Shell("cd '" + dir + "' && " + c.setUp, nullptr);
    std::string before;
    Shell("cd '" + dir + "' && find . -path ./home -prune -o -print | LC_ALL=C sort", &before);
    const std::string cache = std::string(c.setUp) == "true" ? "$DIR/no/such/cache" : "$DIR/cache";
    const SaveRun r = RunGyrelle("--set Foky=Fo45 --save psd=$DIR/r.psd --save settings=$DIR/s.q2q", dir,
                                 "XDG_CACHE_HOME='" + cache + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp(dir + "/r.psd").size(), Slurp(good.dir + "/r.psd").size());
    EXPECT_EQ(Slurp(dir + "/s.q2q"), Slurp(good.dir + "/s.q2q"));
    std::string after, home;
    Shell("cd '" + dir + "' && find . -path ./home -prune -o -print | LC_ALL=C sort", &after);
    EXPECT_EQ(after, before + "./err.txt\n./out.png\n./r.psd\n./s.q2q\n") << "nothing else is written";
    Shell("find '" + dir + "/home' -path '*thumbnails*'", &home);
    EXPECT_EQ(home, "") << "no store of the home's instead";
    RemoveDir(dir);
  }
  RemoveDir(good.dir);
}

}  // namespace
