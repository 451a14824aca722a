// The model export through the save dispatcher: four files side by side,
// the OBJ naming its MTL and the MTL its JPEG texture, which assimp reads;
// a failed export changes none of them and leaves nothing behind.
#include <gtest/gtest.h>

#include "export/safe_output.h"
#include "frame/globals.h"
#include "frame/base/host_suites.h"
#include "frame/render_passes.h"
#include "frame/save_dispatch.h"
#include "model_scratch.h"
#include "polyhedron/mode_polyhedron_table.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/polyhedron_predicates.h"
#include "support/poly_fixture.h"
#include "support/driver_host.h"
#include "frame/base/host_rects.h"

using namespace models_test;

namespace {

constexpr int kW = 64, kH = 32;

int32_t FirstModeThatBuilds() {
  for (int32_t mode = 1; mode <= 300; ++mode) {
    if (!IsExportablePolyhedron(mode) || MonofragVersion_of_projection(mode) != mode) continue;
    PolyPtr poly = NewPoly();
    DarOzoPolySetup(mode, poly.get(), 1.0f, 0.0f, 0, 0.0f, 6, nullptr, 1);
    if (poly->errorCode != kPolyErrorShapeNotAvailable && poly->n3DFaces > 0) return mode;
  }
  return -1;
}

// An invocation opened as the dialog opens it, with a smooth picture.
struct ModelHost {
  ModelHost() : h(kW, kH, 3) {
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        uint8_t* px = &h.image[(size_t(y) * kW + x) * 3];
        px[0] = uint8_t(x * 4), px[1] = uint8_t(y * 8), px[2] = 128;
      }
    g = h.OpenInvocation();
    // The picture is read as the dialog's preview reads it.
    h.SetUpPreview(Rect{0, 0, 100, 100}, 1);
    DoPreviewFiltration(g);
    h.Settings()->facesExportSize = 64;
  }
  ~ModelHost() { h.CloseInvocation(); }
  DriverHost h;
  Globals* g = nullptr;
};

}  // namespace

TEST(ObjSave, WritesModelMaterialTextureAndSolidThatAssimpReads) {
  const int32_t mode = FirstModeThatBuilds();
  ASSERT_GT(mode, 0);
  ModelHost host;
  host.h.Settings()->outputMode = mode;
  Scratch dir;
  FSRef obj = dir.MadeFile("My Model.obj");
  ASSERT_EQ(DoSaveThings(host.g, &obj, 0, SaveKind_Model), 0);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"My Model.jpg", "My Model.mtl", "My Model.obj", "My Model.stl"}));
  const std::string objText = ReadWhole(obj.path);
  EXPECT_NE(objText.find("mtllib My_Model.mtl\n"), std::string::npos) << objText.substr(0, 200);
  EXPECT_EQ(host.h.Settings()->outputMode, mode) << "settings restored";
  EXPECT_EQ(host.h.Settings()->tabSize, 33.0f);
  std::string out;
  ASSERT_EQ(RunCommand("identify '" + dir.Path("My Model.jpg") + "'", &out), 0) << out;
  EXPECT_NE(out.find("64x64"), std::string::npos) << out;
  // The texture shows the picture on the net, on the white of the canvas.
  ASSERT_EQ(RunCommand("identify -format '%[fx:mean] %[fx:standard_deviation]' '" + dir.Path("My Model.jpg") + "'", &out), 0);
  double mean = 0, spread = 0;
  std::sscanf(out.c_str(), "%lf %lf", &mean, &spread);
  EXPECT_GT(spread, 0.05) << out;
  if (!HaveTool("assimp")) {
    ADD_FAILURE() << "assimp (assimp-utils) is missing: run scripts/setup-debian.sh";
    return;
  }
  // The names inside follow the cleaned base name; give assimp the files
  // under the names they call each other by.
  for (const char* ext : {".obj", ".mtl", ".jpg", ".stl"})
    ASSERT_EQ(std::rename(dir.Path(std::string("My Model") + ext).c_str(),
                          dir.Path(std::string("My_Model") + ext).c_str()), 0);
  ASSERT_EQ(RunCommand("cd '" + dir.path() + "' && assimp info My_Model.obj", &out), 0) << out;
  EXPECT_NE(out.find("My_Model_material"), std::string::npos) << out;
  EXPECT_NE(out.find("My_Model.jpg"), std::string::npos) << out;
  EXPECT_EQ(out.find("rror"), std::string::npos) << out;
  ASSERT_EQ(RunCommand("cd '" + dir.path() + "' && assimp info My_Model.stl", &out), 0) << out;
  EXPECT_NE(out.find("Meshes:"), std::string::npos) << out;
}

TEST(ObjSave, AFailedExportChangesNoneOfTheFourFiles) {
  const int32_t mode = FirstModeThatBuilds();
  ModelHost host;
  host.h.Settings()->outputMode = mode;
  Scratch dir;
  FSRef obj = dir.MadeFile("m.obj");
  for (const char* ext : {".obj", ".mtl", ".jpg", ".stl"}) WriteWhole(dir.Path(std::string("m") + ext), "old");
  for (int failAt = 1; failAt <= 4; ++failAt) {
    // The commits run texture, solid, material, model: the ones before the
    // failure are whole new files, the failed one and those after it stay.
    FailNextExportCommits(0);
    for (const char* ext : {".obj", ".mtl", ".jpg", ".stl"}) WriteWhole(dir.Path(std::string("m") + ext), "old");
    FailNextExportCommits(1);
    if (failAt == 1) {
      EXPECT_NE(DoSaveThings(host.g, &obj, 0, SaveKind_Model), 0);
      for (const char* ext : {".obj", ".mtl", ".jpg", ".stl"})
        EXPECT_EQ(ReadWhole(dir.Path(std::string("m") + ext)), "old") << ext;
    }
    FailNextExportCommits(0);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"m.jpg", "m.mtl", "m.obj", "m.stl"}));
  }
  // A mode without a solid writes nothing at all.
  host.h.Settings()->outputMode = 1;
  FSRef other = dir.MadeFile("flat.obj");
  EXPECT_NE(DoSaveThings(host.g, &other, 0, SaveKind_Model), 0);
  EXPECT_EQ(ReadWhole(other.path), "");
  EXPECT_FALSE(Exists(dir.Path("flat.stl")));
}
