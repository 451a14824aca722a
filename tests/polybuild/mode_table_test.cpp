// The output-mode polyhedron table against its rows as written out by hand
// (mode->shape (angle) lists, typed in separately from the constexpr table),
// every other mode, the floret bases and the model-export exclusions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "polyhedron/mode_polyhedron_table.h"
#include "projection/nets/florets_basis.h"

namespace {

struct Expected {
  int32_t shape, method;
  float angle;
  int32_t rule;
};

// Parses "m->s (a), m->s, ..." into rows with the given method and rule; an
// entry without an angle has angle 0.
void AddList(std::map<int32_t, Expected>& rows, int32_t method, int32_t rule, const char* list) {
  const char* p = list;
  while (*p) {
    char* end;
    const auto mode = int32_t(std::strtol(p, &end, 10));
    EXPECT_EQ(std::string(end, 2), "->") << "malformed list near " << p;
    p = end + 2;
    const auto shape = int32_t(std::strtol(p, &end, 10));
    p = end;
    float angle = 0.0f;
    if (p[0] == ' ' && p[1] == '(') {
      angle = std::strtof(p + 2, &end);
      p = end + 1;  // past ')'
    }
    EXPECT_EQ(rows.count(mode), 0u) << "mode listed twice: " << mode;
    rows[mode] = {shape, method, angle, rule};
    while (*p == ',' || *p == ' ') ++p;
  }
}

std::map<int32_t, Expected> WrittenRows() {
  std::map<int32_t, Expected> rows;
  AddList(rows, 0, 0,
          "6->16, 7->18, 8->19, 9->9, 10->23, 25->7, 26->0, 27->12, 28->1, 29->8, 30->2, 31->3, 32->4, 33->5, "
          "34->6, 44->13, 47->17, 54->20, 55->21, 168->70, 1046->22");
  AddList(rows, 0, 1,
          "21->28, 41->10, 42->11, 86->29, 97->30, 98->31, 100->32, 101->33, 102->34, 103->35, 104->36, 105->37, "
          "106->38, 107->39, 113->40, 114->41, 115->42, 116->43, 117->57, 122->52, 123->53, 124->54, 125->55, "
          "126->56, 127->46, 129->47, 137->58, 144->59, 150->60, 167->69");
  AddList(rows, 5, 1, "64->24");
  // Rind, tattoo, developable and conic tetrahedra, rollouts.
  AddList(rows, 2, 1,
          "70->25 (3.0927236), 71->26 (4.1940265), 72->27 (5.0789084), 1043->49 (3.0927236), "
          "169->71 (0.34906587), 170->72 (0.13962634), 175->76 (-0.039269909), 176->77 (5.4035397), "
          "199->102 (2.5132742), 200->103 (4.712389), 201->104 (5.3407078), 202->106 (0), 203->136 (1.5184386), "
          "204->105 (1.5707964), 205->107 (1.0471997), 206->108 (0.47123891), 207->109 (0.99483562), "
          "208->110 (1.738348), 209->111 (0), 210->113 (4.0175819), 211->137 (1.3613527), 212->112 (4.712389), "
          "213->114 (1.1519152), 214->138 (1.5707964), 215->115 (0.45238936), 216->116 (1.1519173), "
          "217->117 (1.4660766), 218->118 (1.7802359), 219->119 (3.8746309), 220->122 (0), 221->139 (4.5029492), "
          "222->120 (1.5707964), 223->123 (1.0995574), 224->140 (4.5029497), 225->121 (1.5707964), "
          "226->124 (0.0058622123), 227->125 (0.55292034), 228->126 (1.1519173), 229->127 (1.5306538), "
          "230->128 (1.5707964), 231->129 (4.9218283), 232->130 (0), 233->133 (0.62831855), 234->141 (4.5029078), "
          "235->131 (1.5707964), 236->134 (1.1519152), 237->142 (1.7278761), 238->132 (1.5707964), "
          "239->135 (1.3613527), 240->143 (0.78539819), 241->144 (0.5759545), 242->145 (1.106846), "
          "243->146 (1.5184361), 244->147 (1.8849556), 245->148 (1.7278761), 246->149 (1.7802356)");
  // Curved-element solids, several-fragment then single-fragment versions.
  AddList(rows, 2, 1,
          "256->161, 257->165, 258->163, 259->173, 260->174, 261->177, 262->178, 289->167, 290->169, 291->171, "
          "1035->162, 1036->164, 1037->166, 1038->175, 1039->176, 1040->179, 1041->180, 1047->168, 1048->170, "
          "1049->172");
  // Cross-shaped cube nets and Voronoi solids.
  AddList(rows, 6, 1,
          "172->18 (0), 173->73 (0), 248->151 (0), 249->153 (0), 250->154 (0), 253->152 (-2.3998277), "
          "254->155 (-2.6878071), 263->156 (-0.148353), 264->157 (-0.52359879), 265->158 (-0.35255653), "
          "266->159 (0.62831855), 267->160 (-1.9442968)");
  for (int32_t k = 0; k < 20; ++k) rows[268 + k] = {201 + k, 6, 0.0f, 1};  // Truchet duals
  AddList(rows, 0, 2, "174->74 (0.39269909)");
  const float geodesicAngles[22] = {0.95818579f, 1.3508849f, 1.1938052f, 1.7907078f, 2.6703539f, 0.2984513f,
                                    1.3508849f,  2.4033184f, 2.3876104f, 1.8221238f, 1.7435839f, 1.7121681f,
                                    1.6807522f,  2.1205752f, 2.3876104f, 2.3719025f, 2.2933626f, 0.0f,
                                    1.5550884f,  1.8692477f, 1.7435839f, 2.0106194f};
  for (int32_t k = 0; k < 22; ++k) rows[177 + k] = {80 + k, 0, geodesicAngles[k], 2};
  return rows;
}

// Florets whose petals are a net, with the petal solid they name; 1043 has
// a row of its own as well.
const std::map<int32_t, int32_t> kFloretSolids = {{145, 61}, {151, 62}, {152, 63}, {153, 63}, {154, 63},
                                                  {155, 64}, {156, 65}, {157, 65}, {158, 66}, {161, 48},
                                                  {162, 67}, {163, 66}, {166, 68}, {247, 150}};

PolyhedronParams Params(int32_t mode) {
  PolyhedronParams p{};
  get_polyhedron_params_from_output_mode(mode, &p);
  return p;
}

TEST(ModePolyhedronTable, EveryWrittenRowAndNothingElse) {
  const std::map<int32_t, Expected> rows = WrittenRows();
  ASSERT_EQ(rows.size(), 21u + 30u + 1u + 76u + 32u + 1u + 22u);
  for (int32_t mode = -3; mode <= 1200; ++mode) {
    const PolyhedronParams p = Params(mode);
    auto row = rows.find(mode);
    auto floret = kFloretSolids.find(mode);
    if (row != rows.end()) {
      const Expected& e = row->second;
      EXPECT_EQ(p.shapeCode, e.shape) << mode;
      EXPECT_EQ(p.netMethod, e.method) << mode;
      EXPECT_EQ(p.cramMode, 0) << mode;
      EXPECT_EQ(p.angle, e.angle) << mode;
      EXPECT_EQ(p.overrideRule, e.rule) << mode;
    } else if (floret != kFloretSolids.end()) {
      FloretBasis basis;
      GetBasisOfWarpyPolyprojection(mode, &basis);
      EXPECT_EQ(p.shapeCode, floret->second) << mode;
      EXPECT_EQ(p.netMethod, basis.polyhedronParam) << mode;
      EXPECT_EQ(p.cramMode, 0) << mode;
      EXPECT_EQ(p.angle, 0.0f) << mode;
      EXPECT_EQ(p.overrideRule, PolyOverride_RowStands) << mode;
    } else {
      EXPECT_EQ(p.shapeCode, -1) << mode;
    }
    EXPECT_EQ(IsPolyhedron(mode), row != rows.end() || floret != kFloretSolids.end()) << mode;
  }
}

TEST(ModePolyhedronTable, ExportableUnlessSheetTilingOrFloret) {
  const std::set<int32_t> sheets = {21,  41,  42,  64,  86,  97,  98,  100, 101, 102, 103, 104, 105, 106, 107, 113,
                                    114, 115, 116, 117, 122, 123, 124, 125, 126, 127, 128, 129, 137, 144, 150, 167};
  ASSERT_EQ(sheets.size(), 32u);
  for (int32_t mode = -3; mode <= 1200; ++mode) {
    const bool expected = IsPolyhedron(mode) && sheets.count(mode) == 0 && kFloretSolids.count(mode) == 0 &&
                          mode != 1043;
    EXPECT_EQ(IsExportablePolyhedron(mode), expected) << mode;
  }
}

TEST(ModePolyhedronTable, EdgeCases) {
  struct Case {
    int32_t mode;
    PolyhedronParams params;
    bool polyhedron, exportable;
  };
  const Case cases[] = {
      {1, {-1, 0, 0, 0.0f, 0}, false, false},          // a map projection
      {26, {0, 0, 0, 0.0f, 0}, true, true},            // shape code 0 is a real solid
      {1047, {168, 2, 0, 0.0f, 1}, true, true},        // single-fragment curved cube
      {1043, {49, 2, 0, 3.0927236f, 1}, true, false},  // its row wins over its floret basis
      {145, {61, 0, 0, 0.0f, 1}, true, false},         // floret on a net
      {128, {-1, 0, 0, 0.0f, 0}, false, false},        // in the excluded range, but no solid
      {64, {24, 5, 0, 0.0f, 1}, true, false},          // tetrahedral tiling
      {7, {18, 0, 0, 0.0f, 0}, true, true},
      {177, {80, 0, 0, 0.95818579f, 2}, true, true},
      {174, {74, 0, 0, 0.39269909f, 2}, true, true},
  };
  for (const Case& c : cases) {
    const PolyhedronParams p = Params(c.mode);
    EXPECT_EQ(p.shapeCode, c.params.shapeCode) << c.mode;
    if (c.params.shapeCode != -1) {
      EXPECT_EQ(p.netMethod, c.params.netMethod) << c.mode;
      EXPECT_EQ(p.cramMode, c.params.cramMode) << c.mode;
      EXPECT_EQ(p.angle, c.params.angle) << c.mode;
      EXPECT_EQ(p.overrideRule, c.params.overrideRule) << c.mode;
    }
    EXPECT_EQ(IsPolyhedron(c.mode), c.polyhedron) << c.mode;
    EXPECT_EQ(IsExportablePolyhedron(c.mode), c.exportable) << c.mode;
  }
  // A mode without a solid leaves no stale words behind.
  PolyhedronParams p{7, 6, 2, 1.5f, 2};
  get_polyhedron_params_from_output_mode(3, &p);
  EXPECT_EQ(p.shapeCode, -1);
  EXPECT_EQ(p.netMethod, 0);
  EXPECT_EQ(p.angle, 0.0f);
}

}  // namespace
