#include "host/run_host.h"
#include "host/dialog/dialog_host.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "frame/settings/enum_codes.h"
#include "host/cli/batch.h"
#include "host/callbacks.h"
#include "host/canvas.h"
#include "host/descriptor.h"
#include "host/dialog/dialog_save.h"
#include "host/driver.h"
#include "host/freeing.h"
#include "host/streamed_output.h"
#include "host/io/image_io.h"
#include "host/cli/options.h"
#include "host/output_file.h"
#include "host/result_codes.h"
#include "host/cli/setting_keys.h"
#include "host/cli/setting_names.h"
#include "host/cli/settings_list.h"
#include "host/suites.h"
#include "host/io/xmp_panorama.h"

namespace gyhost {

namespace {

// The host keeps the plug-in's data word for as long as the plug-in is
// loaded, which is until the process ends.
PluginInstance g_plugin;

void Say(const std::string& text) { std::fprintf(stderr, "gyrelle: %s\n", text.c_str()); }

bool ReadTextFile(const std::string& path, std::string* text, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot open";
    return false;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  *text = buffer.str();
  return true;
}

bool WriteBytesFile(const std::string& path, const void* data, size_t size, std::string* error) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    *error = "cannot create the file";
    return false;
  }
  const bool written = std::fwrite(data, 1, size, f) == size;
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) *error = "cannot write the file";
  return written && closed;
}

bool WriteTextFile(const std::string& path, const std::string& text, std::string* error) {
  return WriteBytesFile(path, text.data(), text.size(), error);
}

bool WriteBytesFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
  return WriteBytesFile(path, bytes.data(), bytes.size(), error);
}

// Only an equirectangular result is still a spherical panorama.
ImageMetadata ResultMetadata(ImageMetadata meta, const DescEntry* mode) {
  if (mode && mode->value != MakeFourCC("Fo01")) meta.xmp = XmpWithoutPanorama(meta.xmp);
  return meta;
}

// The settings to replay: the recorded file first, then --set on top. Every
// entry is checked before any work: a key, kind or code the filter does not
// know is refused; a value out of range is put back to its default, and the
// user is told.
bool BuildReplay(const HostOptions& o, bool check, Descriptor* replay, std::string* error) {
  if (!o.descriptorFile.empty()) {
    std::string text;
    if (!ReadTextFile(o.descriptorFile, &text, error) || !ParseDescriptorText(text, replay, error)) {
      *error = o.descriptorFile + ": " + *error;
      return false;
    }
    for (DescEntry& e : *replay) {
      if (!check) break;
      std::string message;
      const SettingCheck check = CheckSetting(&e, &message);
      if (check == SettingCheck::Refused) {
        *error = o.descriptorFile + ": " + message;
        return false;
      }
      if (check == SettingCheck::Replaced) Say(o.descriptorFile + ": " + message);
    }
  }
  for (const std::string& s : o.settings) {
    DescEntry entry;
    if (!ParseSettingByName(s, &entry, error)) {
      *error = "--set " + s + ": " + *error;
      return false;
    }
    std::string message;
    const SettingCheck verdict = check ? CheckSetting(&entry, &message) : SettingCheck::Accepted;
    if (verdict == SettingCheck::Refused) {
      *error = "--set " + s + ": " + message;
      return false;
    }
    if (verdict == SettingCheck::Replaced) Say("--set " + s + ": " + message);
    SetDescriptorEntry(replay, entry);
  }
  return true;
}

// Where the plug-in keeps the settings last accepted with --dialog.
std::string CachedSettingsPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string folder;
  if (config && config[0] == '/') {
    folder = std::string(config) + "/Gyrelle 2";
  } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
    folder = std::string(home) + "/.config/Gyrelle 2";
  } else {
    return "";
  }
  return folder + "/Gyrelle 2 cached settings C";
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The value a replay sets for `key`, or null.
const DescEntry* ReplayEntry(const Descriptor& replay, const char (&key)[5]) {
  for (const DescEntry& e : replay)
    if (e.key == MakeFourCC(key)) return &e;
  return nullptr;
}

// A replay without an input mode reads the input as equirectangular.
bool ReadsEquirectangular(const Descriptor& replay) {
  const DescEntry* e = ReplayEntry(replay, "Fiky");
  return !e || e->value == MakeFourCC("Fi01");
}

// Within half a percent of 2:1: a pixel or two off is not worth a note.
bool IsTwoToOne(const HostImage& image) {
  const int64_t off = int64_t(image.width) - 2 * int64_t(image.height);
  return (off < 0 ? -off : off) * 200 <= int64_t(image.width);
}

// After a refusal: the output mode the user asked for, in their words, and
// why it cannot be drawn when that is known.
void SayWhichMode(const HostOptions& o, const Descriptor& replay) {
  const DescEntry* e = ReplayEntry(replay, "Foky");
  int32_t mode = 0;
  if (!e || !zor_EnumToValue(kEnumTypeOutputMode, e->value, &mode)) return;
  std::string given = o.descriptorFile.empty() ? "" : "the settings of " + o.descriptorFile;
  for (const std::string& s : o.settings)
    if (s.compare(0, 5, "Foky=") == 0) given = "--set " + s;
  const char* why = OutputModeNotDrawable(mode);
  Say("output mode " + FormatFourCC(e->value) + " (" + std::to_string(mode) + ", " +
      EnumValueName(kEnumTypeOutputMode, mode) + ")" + (given.empty() ? "" : ", from " + given) +
      (why ? std::string(", is not drawable: ") + why : std::string(", was refused")));
}

// The plug-in's result as the user would say it.
std::string FilterFailureText(const InvocationOutcome& outcome) {
  switch (outcome.result) {
    case -128:
      return "cancelled";
    case -108:
      return "out of memory";
    case 1:
      return "the filter refused the image or its settings (see its message above)";
    case 3:
      return "out of memory for the filter's work buffers";
    case 999:
      return "out of memory for the picture's mip-map pyramid";
    case -1715:
      return "the recorded settings were incomplete";
    default:
      break;
  }
  if (outcome.deliveryFailed) return "the host could not hand the filter the image parts it asked for (" +
                                     DescribeResult(outcome.result) + ")";
  return "the filter failed (" + DescribeResult(outcome.result) + ")";
}

// The mask is a grey 8-bit image of the input's size.
bool ReadMask(const std::string& path, const HostImage& input, HostImage* mask, std::string* error) {
  HostImage file;
  if (!ReadImageFile(path, &file, error)) return false;
  if (file.width != input.width || file.height != input.height) {
    *error = "the mask is not the size of the input";
    return false;
  }
  if (!ResizeHostImage(mask, file.width, file.height, 1, false, SampleType::U8)) {
    *error = "out of memory";
    return false;
  }
  std::vector<uint8_t> row(size_t(file.width) * size_t(PlaneCount(file)));
  for (int32_t y = 0; y < file.height; ++y) {
    RowToFile8(file, y, row.data());
    for (int32_t x = 0; x < file.width; ++x) *PixelAddress(*mask, x, y) = row[size_t(x) * size_t(PlaneCount(file))];
  }
  return true;
}

void ReportMemory(bool verbose, const InvocationOutcome* last) {
  const BufferStats b = GetBufferStats();
  const HandleStats h = GetHandleStats();
  if (verbose) {
    Say("host buffers: " + std::to_string(b.allocations) + " allocated, " + std::to_string(b.frees) + " freed, " +
        std::to_string(b.outstanding) + " outstanding, " + std::to_string(b.refusals) + " refused, " +
        std::to_string(b.neverLocked) + " never locked, " + std::to_string(b.badFrees) + " bad frees, peak " +
        std::to_string(b.peakBytes) + " bytes");
    Say("host handles: " + std::to_string(h.created) + " created, " + std::to_string(h.disposed) + " disposed");
    if (last) Say(std::string("rectangles at the end: ") + (last->rectsEmpty ? "empty" : "still requested"));
  }
  if (b.outstanding > 0) {
    Say("warning: the plug-in left " + std::to_string(b.outstanding) + " host buffers (" +
        std::to_string(b.outstandingBytes) + " bytes) allocated");
  }
  if (b.badFrees > 0) Say("warning: the plug-in freed " + std::to_string(b.badFrees) + " unknown host buffers");
}

// Every file the run will write, checked before any work: a --save onto a
// folder, two writes to one file, or a write over the input.
// Answers the exit status of a refusal, or 0.
int CheckRunWrites(const HostOptions& o, std::string* error) {
  if (const std::string refused = DialogSaveOntoNonFile(); !refused.empty()) {
    *error = refused + "; nothing was written";
    return kExitFilterFailed;
  }
  std::vector<PlannedWrite> writes = DialogSaveTargets();
  writes.push_back({"OUTPUT", o.output});
  if (!o.recordFile.empty()) writes.push_back({"--record", o.recordFile});
  return CheckPlannedWrites(writes, o.input, error) ? 0 : kExitUsage;
}

// For a plug-in that only works in place: the input stretched to the
// canvas's shape without dropping detail on either axis; the result is
// reduced to the canvas afterwards.
bool StretchForCanvas(const HostOptions& o, HostImage* input, std::string* error) {
  int32_t w = 0, h = 0;
  StretchedSize(input->width, input->height, o.canvasWidth, o.canvasHeight, &w, &h);
  if (w == input->width && h == input->height) return true;
  HostImage stretched;
  if (!ResampleImage(*input, w, h, &stretched, error, o.threads)) return false;
  *input = std::move(stretched);
  return true;
}

// Pictures the run no longer needs, freed on a thread of their own: giving
// back tens of megabytes of pages takes milliseconds that the output's
// coding need not wait for. The thread is joined when the handle goes.
std::jthread FreeAside(HostImage* a, HostImage* b) {
  auto pictures = std::make_pair(std::move(*a), std::move(*b));
  try {
    return std::jthread([dead = std::move(pictures)]() mutable {
      ReleasePicture(&dead.first, 1);
      ReleasePicture(&dead.second, 1);
    });
  } catch (const std::system_error&) {
    return {};  // freed here, with the lambda that could not be handed over
  }
}

int RunProbe(const HostOptions& o, const InvocationSetup& setup) {
  const SelectorProbe p = ProbeSelector(&g_plugin, setup, o.probeSelector);
  std::printf("selector %d (%s): %s; data word %s; parameters handle %s\n", o.probeSelector,
              SelectorName(o.probeSelector),
              p.resultWritten ? ("result " + DescribeResult(p.result)).c_str() : "no result written",
              p.dataWordChanged ? "set" : "unchanged", p.parametersChanged ? "set" : "unchanged");
  return (!p.resultWritten || p.result == 0) ? kExitOK : kExitFilterFailed;
}

}  // namespace

static int RunOneFile(const HostOptions& o, const Descriptor& replay, bool checkSettings, const std::string& pluginPath);

int RunHost(int argc, const char* const* argv) {
  HostOptions o;
  std::string error;
  if (!ParseOptions(argc, argv, &o, &error)) {
    Say(error);
    std::fprintf(stderr, "Try 'gyrelle --help'.\n");
    return kExitUsage;
  }
  if (o.help) {
    std::fputs(UsageText().c_str(), stdout);
    return kExitOK;
  }
  if (o.version) {
    std::fputs(VersionText().c_str(), stdout);
    return kExitOK;
  }
  if (o.list) {
    std::string text;
    if (o.listFilter.empty()) {
      std::fputs(SettingsListText().c_str(), stdout);
    } else if (FilteredListText(o.listFilter, &text)) {
      std::fputs(text.c_str(), stdout);
    } else {
      Say(text);
      return kExitUsage;
    }
    return kExitOK;
  }
  const std::string pluginPath = o.pluginPath.empty() ? DefaultPluginPath() : o.pluginPath;
  // The keys and codes checked are the Gyrelle 2 plug-in's; another plug-in
  // (a test's) gets its settings as they are.
  const bool checkSettings = pluginPath.size() >= 11 && pluginPath.compare(pluginPath.size() - 11, 11, "Gyrelle2.so") == 0;
  Descriptor replay;
  if (!BuildReplay(o, checkSettings, &replay, &error)) {
    Say(error);
    return kExitUsage;
  }
  if (!o.inputs.empty()) {
    if (o.dialog || HaveDialogSaves() || !o.maskFile.empty() || o.probe) {
      Say("a batch (-o) renders every input with the same settings: --dialog, --dialog-script, --save, --load "
          "and --mask take one INPUT and OUTPUT");
      return kExitUsage;
    }
    const int status =
        RunBatch(o, [&](const HostOptions& one) { return RunOneFile(one, replay, checkSettings, pluginPath); });
    FinishFreeing();
    return status;
  }
  const int status = RunOneFile(o, replay, checkSettings, pluginPath);
  FinishFreeing();
  return status;
}

// One input to one output: the whole run for a single file, and each file of
// a batch. The plug-in is loaded at the first file and stays loaded.
static int RunOneFile(const HostOptions& o, const Descriptor& replay, bool checkSettings, const std::string& pluginPath) {
  std::string error;
  const ImageFormat outputFormat = FormatFromExtension(o.output);
  if (outputFormat == ImageFormat::Unknown) {
    Say("cannot tell the output format from \"" + o.output + "\": use .png, .jpg, .jpeg, .tif, .tiff or .exr");
    return kExitUsage;
  }
  const bool haveReplay = !o.descriptorFile.empty() || !o.settings.empty();
  // An output that cannot be written is found now, not after the render.
  if (!CheckOutputWritable(o.output, &error) ||
      (!o.recordFile.empty() && !CheckOutputWritable(o.recordFile, &error))) {
    Say("cannot write the output: " + error);
    return kExitCannotWrite;
  }
  if (const int refused = CheckRunWrites(o, &error)) {
    Say(error);
    return refused;
  }

  HostImage input;
  if (IsFolder(o.input)) {
    Say("cannot read " + o.input + ": it is a folder, not an image; to render the images in it, give them with "
        "an output folder: gyrelle [options] -o OUTDIR " + o.input + "/*.jpg");
    return kExitBadInput;
  }
  if (!ReadImageFile(o.input, &input, &error, o.threads)) {
    Say("cannot read " + o.input + ": " + error);
    return kExitBadInput;
  }
  if (const DescEntry* glue = ReplayEntry(replay, "GLUE");
      glue && glue->value != MakeFourCC("GL01") && input.type == SampleType::F32) {
    Say("note: a glue mode has no effect on a floating-point image; the result is not blended");
  }
  // Settings last accepted in the dialog may read the input otherwise; the
  // note is for runs whose input mode is known.
  if (!o.quiet && checkSettings && (haveReplay || !FileExists(CachedSettingsPath())) &&
      ReadsEquirectangular(replay) && !IsTwoToOne(input)) {
    Say("note: the input is " + std::to_string(input.width) + "x" + std::to_string(input.height) +
        ", not 2:1 as an equirectangular panorama is, so the result is squashed or stretched; scale or pad it to "
        "2:1 (e.g. " + std::to_string(input.height * 2) + "x" + std::to_string(input.height) +
        "), or set the input mode that fits it (--set Fiky=..., gyrelle --list shows them)");
  }
  if (checkSettings && !haveReplay && !o.dialog && FileExists(CachedSettingsPath())) {
    Say("starting from the settings last accepted with --dialog, kept in \"" + CachedSettingsPath() + "\"");
  }
  const bool canvas = o.canvasWidth > 0 && (o.canvasWidth != input.width || o.canvasHeight != input.height);
  if (canvas && !o.maskFile.empty()) {
    Say("--canvas and --mask cannot be used together");
    return kExitUsage;
  }
  HostImage mask;
  if (!o.maskFile.empty() && !ReadMask(o.maskFile, input, &mask, &error)) {
    Say("cannot use the mask " + o.maskFile + ": " + error);
    return kExitBadInput;
  }

  if (!g_plugin.module.library && !LoadPlugin(pluginPath, &g_plugin.module, &error)) {
    Say("cannot load the plug-in " + pluginPath + ": " + error);
    return kExitNoPlugin;
  }
  PlatformConfigureProc configure = g_plugin.module.configure;
  if (configure) {
    configure("processors", o.threads);
    if (o.haveAllocBudget) configure("system_alloc_budget", o.systemAllocBudget);
  } else if (o.threads > 0 || o.haveAllocBudget) {
    Say("warning: the plug-in has no configuration hook; its thread count cannot be set");
  }

  ConfigureDialogFrontEnd(configure, o.dialog, o.input);
  // A plug-in that can fill a canvas renders it at its size from the input
  // at full size; the input resampled to the canvas is the unfiltered
  // picture that glue modes blend with.
  HostImage canvasImage;
  bool renderOnCanvas = false;
  if (canvas) {
    renderOnCanvas = configure && configure("canvas_width", o.canvasWidth) == 0 &&
                     configure("canvas_height", o.canvasHeight) == 0;
    const bool ready = renderOnCanvas
                           ? ResampleImage(input, o.canvasWidth, o.canvasHeight, &canvasImage, &error, o.threads)
                           : StretchForCanvas(o, &input, &error);
    if (!ready) {
      Say("cannot set up the canvas: " + error);
      return kExitFilterFailed;
    }
  }
  InvocationSetup setup;
  setup.original = &input;
  setup.canvas = renderOnCanvas ? &canvasImage : nullptr;
  setup.mask = o.maskFile.empty() ? nullptr : &mask;
  setup.dialog = o.dialog;
  setup.replay = haveReplay ? &replay : nullptr;
  setup.quiet = o.quiet;
  setup.faults = o.faults;
  setup.threads = o.threads;
  WriteOptions writeOptions;
  writeOptions.pngLevel = o.pngLevel;
  writeOptions.tiffCompression = TiffCompressionFromName(o.tiffCompression);
  writeOptions.threads = o.threads;
  // Declared before the stream, which may still read it: on every way out
  // the stream stops first.
  HostImage result;
  // A plain run to a PNG or JPEG file codes it on a thread of its own as
  // the rows come back (one thread more than --threads, so not when that
  // is 1). The file will carry the picture's metadata, less the panorama's
  // XMP unless the mode is equirectangular, as the end of the run decides.
  std::unique_ptr<StreamedOutput> stream;
  if ((outputFormat == ImageFormat::Png || outputFormat == ImageFormat::Jpeg) && !o.dialog && !HaveDialogSaves() &&
      o.maskFile.empty() && !o.probe && o.invocations == 1 && o.threads != 1 && (!canvas || renderOnCanvas)) {
    const HostImage& shape = renderOnCanvas ? canvasImage : input;
    stream = std::make_unique<StreamedOutput>(outputFormat, ResultMetadata(shape.meta, ReplayEntry(replay, "Foky")),
                                              writeOptions);
    setup.stream = stream.get();
  }
  BeginHostSession(o.faults);
  InstallInterruptHandler();

  if (o.probe) {
    const int status = RunProbe(o, setup);
    ReportMemory(o.memoryReport, nullptr);
    EndPluginSession(&g_plugin);
    return status;
  }

  InvocationOutcome outcome;
  for (int32_t i = 0; i < o.invocations; ++i) {
    RunInvocation(&g_plugin, setup, &result, &outcome);
    if (outcome.forgottenTokens > 0) {
      Say("warning: the plug-in left " + std::to_string(outcome.forgottenTokens) +
          " descriptor readers or writers open");
    }
    if (outcome.result != 0 || InterruptRequested()) break;
  }
  ReportMemory(o.memoryReport, &outcome);
  EndPluginSession(&g_plugin);
  ReleaseLeftoverBuffers();

  // A failed save or step stops the run: exit 1 means nothing was written.
  const bool stepsFailed = DialogScriptFailures() > 0 || DialogSaveMessagesSaid() > 0;
  if (stepsFailed && !InterruptRequested()) {
    Say(std::string(HaveDialogSaves() && !DialogScriptStepFailed() ? "a --save or --load failed"
                                                                   : "a step of the dialog script failed") +
        " (see above); " + o.output + " was not written");
    return kExitFilterFailed;
  }
  if (outcome.result != 0) {
    if (checkSettings && outcome.result == 1) SayWhichMode(o, replay);
    Say(FilterFailureText(outcome) + "; " + o.output + " was not written");
    return InterruptRequested() ? InterruptExitStatus() : kExitFilterFailed;
  }

  // A Ctrl-C the plug-in did not see (it came after its last poll) still
  // means the user does not want the file.
  if (InterruptRequested()) {
    Say("cancelled; " + o.output + " was not written");
    return InterruptExitStatus();
  }
  if (canvas && !renderOnCanvas) {
    HostImage reduced;
    if (!ResampleImage(result, o.canvasWidth, o.canvasHeight, &reduced, &error, o.threads)) {
      Say("cannot reduce the result to the canvas: " + error);
      return kExitFilterFailed;
    }
    result = std::move(reduced);
  }
  const std::jthread freeing = FreeAside(&input, &canvasImage);
  const DescEntry* mode = outcome.recorded ? ReplayEntry(outcome.descriptor, "Foky") : ReplayEntry(replay, "Foky");
  result.meta = ResultMetadata(std::move(result.meta), mode);
  std::vector<uint8_t> streamed;
  const bool haveStreamed = stream && stream->Finish(result.meta, &streamed);
  if (outputFormat == ImageFormat::Jpeg && result.hasAlpha && !o.quiet) {
    Say("note: JPEG has no transparency; the alpha plane is left out");
  }
  if (outputFormat == ImageFormat::Jpeg && result.type != SampleType::U8 && !o.quiet) {
    Say(std::string("note: JPEG holds 8 bits a channel; the ") +
        (result.type == SampleType::U16 ? "16-bit" : "32-bit floating-point") +
        " result is written as 8-bit (.png or .tif keep " +
        (result.type == SampleType::U16 ? "16 bits)" : "more: .tif and .exr keep the floats)"));
  }
  const bool written = WriteFileAtomically(
      o.output, [&](const std::string& temp, std::string* e) {
        return haveStreamed ? WriteBytesFile(temp, streamed, e) : WriteImageFile(temp, outputFormat, result, e, writeOptions);
      },
      &error);
  if (!written) {
    Say("cannot write " + o.output + ": " + error);
    return kExitCannotWrite;
  }
  if (!o.recordFile.empty()) {
    if (!outcome.recorded) Say("warning: the filter recorded no settings");
    const std::string text = FormatDescriptorText(outcome.descriptor);
    if (!WriteFileAtomically(
            o.recordFile, [&](const std::string& temp, std::string* e) { return WriteTextFile(temp, text, e); },
            &error)) {
      Say("cannot write " + o.recordFile + ": " + error);
      return kExitCannotWrite;
    }
  }
  // The result's pages go back on every core, not one by one as the
  // process ends.
  ReleasePicture(&result, o.threads);
  if (!o.quiet) Say("wrote " + o.output);
  return kExitOK;
}

}  // namespace gyhost
