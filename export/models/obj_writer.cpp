#include "export/models/obj_writer.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "export/html/html_text.h"
#include "export/safe_output.h"
#include "export/models/obj_texture.h"
#include "export/models/obj_triangles.h"
#include "export/psd/psd_writer.h"
#include "export/export_services.h"
#include "render/view_build.h"
#include "render/vort.h"
#include "export/models/stl_writer.h"
#include "frame/base/file_layer.h"
#include "frame/base/file_refs.h"
#include "frame/globals.h"  // the export writers take the whole invocation: they read its settings, sizes and host procs
#include "frame/base/result_codes.h"
#include "frame/base/text_utils.h"
#include "polyhedron/mode_polyhedron_table.h"
#include "polybuild/setup/polyhedron_setup.h"
#include "polyhedron/polyhedron_predicates.h"

namespace {

constexpr int32_t kNetMethodNoTabs = 6;
constexpr int32_t kPolyMapOutputMode = 1045;

void AppendF(std::string* out, const char* format, double a, double b, double c) {
  char line[160];
  std::snprintf(line, sizeof line, format, a, b, c);
  out->append(line);
}

// The model is always rebuilt: a unit-square net without tabs, so that the
// texture coordinates are the net's own and no tab is ever listed.
bool RebuildForExport(Globals* globals, int32_t mode, polyhedron* poly) {
  DarOzoPolySetup(mode, poly, 1.0f, 0.0f, 0, 0.0f, kNetMethodNoTabs, HostBuffers(globals), 1);
  if (poly->errorCode == kPolyErrorShapeNotAvailable || poly->n3DFaces <= 0 || poly->nTriangles <= 0) return false;
  // A net none of whose triangles reaches a solid face would make a model
  // without faces: refused, not written as if it were the solid.
  auto list = std::make_unique<ExportTriangleList>();
  MarkExportedTriangles(poly, list.get());
  return list->count > 0;
}

struct SavedSettings {
  float tabSize;
  int32_t outputMode, exportKind;
};

}  // namespace

void OBJBaseName(const FSRef* file, char* base, int32_t size) {
  char name[kCNameBytes] = {};
  RefToCname(file, name);
  StripAnyExtender(name);
  MakeNameNonWeirdForOBJ(name);
  std::snprintf(base, size_t(size), "%s", name);
}

std::string OBJFileText(polyhedron* poly, const char* base) {
  std::string out;
  if (!poly || poly->n3DFaces <= 0) return "# error: polyhedron data is missing\n";
  char date[kDateTextBytes];
  GetOnDateString(date);
  out += "# Exported from Gyrelle 2 ";
  out += kMakerAddress;
  out += "\n# ";
  out += date;
  out += "\n\nmtllib ";
  out += base;
  out += ".mtl\n\ng GyrellePolyhedron\n\n";

  auto list = std::make_unique<ExportTriangleList>();
  MarkExportedTriangles(poly, list.get());
  auto used = std::make_unique<UsedVertexList>();
  ListUsedVertices(poly, *list, used.get());
  for (int32_t i = 0; i < used->count; ++i) {
    double p[3];
    ExportedVertex(poly, used->vertices[i], p);
    AppendF(&out, "v %.8f %.8f %.8f\n", p[0], p[1], p[2]);
  }
  out += "\n";
  for (int32_t t = 0; t < list->count; ++t) {
    double c[3][3], n[3];
    for (int i = 0; i < 3; ++i) ExportedVertex(poly, list->triangles[t].vert3D[i], c[i]);
    ExportNormal(c[0], c[1], c[2], n);
    AppendF(&out, "vn %.8f %.8f %.8f\n", n[0], n[1], n[2]);
  }
  out += "\n";
  const int32_t high2 = HighestExported2DVertex(poly);
  for (int32_t v = 0; v <= high2; ++v) {
    char line[96];
    std::snprintf(line, sizeof line, "vt %.8f %.8f\n", double(poly->verts2D[v].x), 1.0 - double(poly->verts2D[v].y));
    out += line;
  }
  out += "\nusemtl ";
  out += base;
  out += "_material\n\n";
  for (int32_t t = 0; t < list->count; ++t) {
    const ExportTriangle& e = list->triangles[t];
    char line[128];
    int32_t v[3];
    for (int i = 0; i < 3; ++i) v[i] = used->placeOf[e.vert3D[i]] + 1;
    std::snprintf(line, sizeof line, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", v[0], e.vert2D[0] + 1, t + 1, v[1],
                  e.vert2D[1] + 1, t + 1, v[2], e.vert2D[2] + 1, t + 1);
    out += line;
  }
  out += "\n";
  return out;
}

std::string MTLFileText(const char* base) {
  std::string out = "# Exported from Gyrelle 2 ";
  out += kMakerAddress;
  out += "\n#\n\nnewmtl ";
  out += base;
  out += "_material\nd 1.00000\nillum 2\nKd 1.0 1.0 1.0\nKa 1.0 1.0 1.0\nKs 0.5 0.5 0.9\nKe 0.0 0.0 0.0\nmap_Kd ";
  out += base;
  out += ".jpg\n";
  return out;
}

int32_t WriteOBJFileAndItsHandmaidens(Globals* globals, const FSRef* objFile) {
  TParameters* p = Params(globals);
  if (!p || !objFile || !globals->storage) return kBadParameter;
  const int32_t mode = MonofragVersion_of_projection(p->outputMode);
  if (!IsExportablePolyhedron(mode)) return kBadParameter;

  // The siblings are only named here: they come into being whole, at the
  // end, or not at all.
  FSRef jpg{}, mtl{}, stl{};
  if (int32_t e = SiblingWithExtension(objFile, ".jpg", &jpg)) return e;
  if (int32_t e = SiblingWithExtension(objFile, ".mtl", &mtl)) return e;
  if (int32_t e = SiblingWithExtension(objFile, ".stl", &stl)) return e;

  const SavedSettings saved{p->tabSize, p->outputMode, p->exportKind};
  p->tabSize = 0.0f;
  p->outputMode = mode;
  p->exportKind = kExportKindObjTexture;
  // The texture first: its render uses the same solid, and a cancel there
  // must stop the export before any file changes.
  std::vector<uint8_t> texture;
  uint8_t cancel = 0;
  int32_t e = RenderNetTextureJPEG(globals, &texture, &cancel);
  if (e == 0 && cancel) e = kUserCancelled;

  polyhedron* poly = &globals->storage->outputPolyhedron;
  std::string obj, stlBytes;
  if (e == 0 && !RebuildForExport(globals, mode, poly)) e = kBadParameter;
  if (e == 0) {
    char base[kCNameBytes], mtlBase[kCNameBytes];
    OBJBaseName(objFile, base, sizeof base);
    OBJBaseName(&mtl, mtlBase, sizeof mtlBase);
    obj = OBJFileText(poly, base);
    stlBytes = STLFileBytes(poly, true, nullptr);
    const std::string mtlText = MTLFileText(mtlBase);
    e = CommitExportFile(&jpg, texture.data(), texture.size(), FileKind_JPEG);
    if (e == 0) e = CommitExportFile(&stl, stlBytes, FileKind_Model);
    if (e == 0) e = CommitExportFile(&mtl, mtlText, FileKind_Model);
    if (e == 0) e = CommitExportFile(objFile, obj, FileKind_Model);
  }
  p->tabSize = saved.tabSize;
  p->outputMode = saved.outputMode;
  p->exportKind = saved.exportKind;
  return e;
}

int32_t WriteEquiPolyMapFile(Globals* globals, const FSRef* file) {
  TParameters* p = Params(globals);
  if (!p || !file) return kBadParameter;
  if (!IsPolyhedron(p->outputMode) || !globals->storage) return kBadParameter;
  // The map is drawn by the poly-map output mode: a solid it cannot draw is
  // refused before any file is touched, since a document of the plain
  // picture would only look written.
  vort* probe = &globals->storage->view;
  const int32_t savedMode = p->outputMode, savedAlt = p->altOutputMode;
  p->altOutputMode = p->outputMode;
  p->outputMode = kPolyMapOutputMode;
  const ViewBuildStatus status = BuildPrimaryView(globals, probe);
  globals->storage->viewBuilt = 0;
  p->outputMode = savedMode;
  p->altOutputMode = savedAlt;
  if (status != ViewBuild_OK) return kBadParameter;

  const int32_t savedKind = p->exportKind;
  p->exportKind = kExportKindEquiPolyMap;
  uint8_t cancelled = 0;
  const int32_t e = WriteImageFile(globals, file, &cancelled, kImageFormatPSD);
  if (TParameters* after = Params(globals)) after->exportKind = savedKind;
  return e == 0 && cancelled ? int32_t(kUserCancelled) : e;
}
