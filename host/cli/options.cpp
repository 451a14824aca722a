#include "host/cli/options.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "host/descriptor.h"
#include "host/dialog/dialog_host.h"
#include "host/io/image_io.h"
#include "host/cli/setting_names.h"

namespace gyhost {

namespace {

// A host rectangle holds at most this many pixels a side.
constexpr int64_t kMaxCanvasSide = 32767;

bool ParseInteger(const std::string& text, int64_t min, int64_t max, int64_t* value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != 0 || v < min || v > max) return false;
  *value = v;
  return true;
}

// Options that take a value, public ones first.
enum class Valued {
  Output,
  Format,
  Plugin,
  Set,
  Descriptor,
  Record,
  Threads,
  Canvas,
  PngLevel,
  TiffCompression,
  HostSig,
  CloseError,
  BufferVersion,
  BufferCount,
  HandleVersion,
  HandleCount,
  AbortAfter,
  AllocBudget,
  Invocations,
  Mask,
  Selector,
};

struct ValuedOption {
  const char* name;
  Valued which;
};

constexpr ValuedOption kValued[] = {
    {"-o", Valued::Output},
    {"--output", Valued::Output},
    {"--format", Valued::Format},
    {"--plugin", Valued::Plugin},
    {"--set", Valued::Set},
    {"--descriptor", Valued::Descriptor},
    {"--record", Valued::Record},
    {"--threads", Valued::Threads},
    {"--canvas", Valued::Canvas},
    {"--png-level", Valued::PngLevel},
    {"--tiff-compression", Valued::TiffCompression},
    {"--host-sig", Valued::HostSig},
    {"--descriptor-close-error", Valued::CloseError},
    {"--buffer-suite-version", Valued::BufferVersion},
    {"--buffer-suite-count", Valued::BufferCount},
    {"--handle-suite-version", Valued::HandleVersion},
    {"--handle-suite-count", Valued::HandleCount},
    {"--abort-after", Valued::AbortAfter},
    {"--system-alloc-budget", Valued::AllocBudget},
    {"--invocations", Valued::Invocations},
    {"--mask", Valued::Mask},
    {"--selector", Valued::Selector},
};

bool ApplyValued(Valued which, const std::string& name, const std::string& value, HostOptions* o, std::string* error) {
  int64_t n = 0;
  const auto needInt = [&](int64_t min, int64_t max) {
    if (ParseInteger(value, min, max, &n)) return true;
    *error = name + " needs a whole number from " + std::to_string(min) + " to " + std::to_string(max) + ", not \"" +
             value + "\"";
    return false;
  };
  switch (which) {
    case Valued::Output:
      if (value.empty()) {
        *error = name + " needs a folder or a name pattern with {name}";
        return false;
      }
      o->outputTarget = value;
      return true;
    case Valued::Format:
      if (value != "png" && value != "jpg" && value != "jpeg" && value != "tif" && value != "tiff" &&
          value != "exr") {
        *error = "--format needs png, jpg, tif or exr, not \"" + value + "\"";
        return false;
      }
      o->format = value;
      return true;
    case Valued::Plugin:
      o->pluginPath = value;
      return true;
    case Valued::Set: {
      DescEntry probe;
      if (!ParseSettingByName(value, &probe, error)) {
        *error = "--set " + value + ": " + *error;
        return false;
      }
      o->settings.push_back(value);
      return true;
    }
    case Valued::Descriptor:
      o->descriptorFile = value;
      return true;
    case Valued::Record:
      o->recordFile = value;
      return true;
    case Valued::Threads:
      if (!needInt(1, 1024)) return false;
      o->threads = int32_t(n);
      return true;
    case Valued::Canvas: {
      const size_t x = value.find_first_of("xX");
      int64_t w = 0, h = 0;
      if (x == std::string::npos || !ParseInteger(value.substr(0, x), 1, kMaxCanvasSide, &w) ||
          !ParseInteger(value.substr(x + 1), 1, kMaxCanvasSide, &h)) {
        *error = "--canvas needs WIDTHxHEIGHT, each from 1 to " + std::to_string(kMaxCanvasSide) + ", not \"" +
                 value + "\"";
        return false;
      }
      o->canvasWidth = int32_t(w);
      o->canvasHeight = int32_t(h);
      return true;
    }
    case Valued::PngLevel:
      if (!needInt(0, 9)) return false;
      o->pngLevel = int32_t(n);
      return true;
    case Valued::TiffCompression:
      if (value != "same" && value != "none" && value != "lzw" && value != "deflate") {
        *error = "--tiff-compression needs same, none, lzw or deflate, not \"" + value + "\"";
        return false;
      }
      o->tiffCompression = value;
      return true;
    case Valued::HostSig:
      if (!ParseFourCC(value, &o->faults.hostSig)) {
        *error = "--host-sig needs a four-character signature";
        return false;
      }
      return true;
    case Valued::CloseError:
      if (!needInt(INT16_MIN, INT16_MAX)) return false;
      o->faults.descriptorCloseError = int16_t(n);
      return true;
    case Valued::BufferVersion:
      if (!needInt(INT16_MIN, INT16_MAX)) return false;
      o->faults.bufferSuiteVersion = int16_t(n);
      return true;
    case Valued::BufferCount:
      if (!needInt(0, kCurrentBufferProcsCount)) return false;
      o->faults.bufferSuiteCount = int16_t(n);
      return true;
    case Valued::HandleVersion:
      if (!needInt(INT16_MIN, INT16_MAX)) return false;
      o->faults.handleSuiteVersion = int16_t(n);
      return true;
    case Valued::HandleCount:
      if (!needInt(0, kCurrentHandleProcsCount)) return false;
      o->faults.handleSuiteCount = int16_t(n);
      return true;
    case Valued::AbortAfter:
      if (!needInt(0, INT64_MAX)) return false;
      o->faults.abortAfterPolls = n;
      return true;
    case Valued::AllocBudget:
      if (!needInt(-1, INT64_MAX)) return false;
      o->haveAllocBudget = true;
      o->systemAllocBudget = n;
      return true;
    case Valued::Invocations:
      if (!needInt(1, 1000)) return false;
      o->invocations = int32_t(n);
      return true;
    case Valued::Mask:
      o->maskFile = value;
      return true;
    case Valued::Selector:
      if (!needInt(INT16_MIN, INT16_MAX)) return false;
      o->probe = true;
      o->probeSelector = int16_t(n);
      return true;
  }
  return false;
}

bool ApplyFlag(const std::string& arg, HostOptions* o) {
  if (arg == "--dialog") {
    o->dialog = true;
  } else if (arg == "--quiet" || arg == "-q") {
    o->quiet = true;
  } else if (arg == "--help" || arg == "-h") {
    o->help = true;
  } else if (arg == "--list") {
    o->list = true;
  } else if (arg == "--version") {
    o->version = true;
  } else if (arg == "--refuse-buffers") {
    o->faults.refuseBufferAllocate = true;
  } else if (arg == "--refuse-buffer-lock") {
    o->faults.refuseBufferLock = true;
  } else if (arg == "--no-advance-state") {
    o->faults.noAdvanceState = true;
  } else if (arg == "--no-display-pixels") {
    o->faults.noDisplayPixels = true;
  } else if (arg == "--write-suite-gaps") {
    o->faults.writeSuiteGaps = true;
  } else if (arg == "--multichannel") {
    o->faults.multichannel = true;
  } else if (arg == "--memory-report") {
    o->memoryReport = true;
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool ParseOptions(int argc, const char* const* argv, HostOptions* o, std::string* error) {
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (ParseDialogScriptOption(argc, argv, &i, o, error)) { if (error->empty()) continue; return false; }
    if (ApplyFlag(arg, o)) continue;
    const size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const ValuedOption* match = nullptr;
    for (const ValuedOption& v : kValued) {
      if (name == v.name) match = &v;
    }
    if (!match) {
      *error = "unknown option " + arg;
      return false;
    }
    std::string value;
    if (eq != std::string::npos) {
      value = arg.substr(eq + 1);
    } else if (i + 1 < argc) {
      value = argv[++i];
    } else {
      *error = name + " needs a value";
      return false;
    }
    if (!ApplyValued(match->which, name, value, o, error)) return false;
  }
  if (o->list) {
    // What follows --list is what to look for; "--list mirror ball" needs no quotes.
    for (const std::string& p : positional) o->listFilter += (o->listFilter.empty() ? "" : " ") + p;
    return true;
  }
  if (o->help || o->version) return true;
  if (!o->outputTarget.empty()) {
    if (positional.empty()) {
      *error = "-o " + o->outputTarget + " needs at least one input";
      return false;
    }
    // "-o out.png" names a file, as it does for other tools: one input is
    // an ordinary run; several cannot all go there.
    struct stat st {};
    const bool folder = stat(o->outputTarget.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    if (!folder && o->outputTarget.find("{name}") == std::string::npos &&
        FormatFromExtension(o->outputTarget) != ImageFormat::Unknown) {
      if (positional.size() > 1) {
        *error = "-o " + o->outputTarget + " names one file for " + std::to_string(positional.size()) +
                 " inputs: give a folder, or a pattern with {name} for each input's name";
        return false;
      }
      if (!o->format.empty()) {
        *error = "--format is for a batch; the extension of " + o->outputTarget + " gives its format";
        return false;
      }
      o->input = positional[0];
      o->output = o->outputTarget;
      o->outputTarget.clear();
      return true;
    }
    o->inputs = positional;
    return true;
  }
  if (!o->format.empty()) {
    *error = "--format is for a batch (-o OUTDIR IN...); a single OUTPUT's extension gives its format";
    return false;
  }
  if (positional.size() != 2) {
    *error = positional.size() < 2 ? "an input and an output file are needed"
                                   : "too many file names: for several inputs give an output folder, "
                                     "gyrelle [options] -o OUTDIR IN...";
    return false;
  }
  o->input = positional[0];
  o->output = positional[1];
  return true;
}

std::string UsageText() {
  return "usage: gyrelle [options] INPUT OUTPUT\n"
         "       gyrelle [options] -o OUTDIR|PATTERN INPUT...\n"
         "       gyrelle --list [FILTER] | --version | --help\n"
         "\n"
         "Runs the Gyrelle 2 filter on INPUT and writes the result to OUTPUT.\n"
         "INPUT: PNG (8/16-bit), JPEG, TIFF (8/16-bit, 32-bit float) or OpenEXR.\n"
         "OUTPUT: the format follows the name: .png .jpg/.jpeg .tif/.tiff .exr,\n"
         "in the input's depth where the format allows, with the input's colour\n"
         "profile, EXIF and XMP. OUTPUT is replaced only when the filter succeeds.\n"
         "Without settings the filter renders the identity (output mode Fo01): set\n"
         "an output mode, e.g. --set Foky=Fo45 for a Mollweide map.\n"
         "\n"
         "options:\n"
         "  --set KEY=VALUE     a setting by its four-character key; VALUE is true/false,\n"
         "                      an integer, a number, a four-character code or, for a\n"
         "                      mode, graticule or quality, its name in any case\n"
         "                      (--set Foky=Fo45 or --set Foky=mollweide); may be\n"
         "                      repeated; a key, value, code or name the filter does\n"
         "                      not know stops the run\n"
         "  --list [FILTER]     every output, input and glue mode, graticule and quality\n"
         "                      with its code, number and name, and every key with its\n"
         "                      type, range and meaning; with FILTER (a code, number,\n"
         "                      name or part of one, or a key) only what matches, and\n"
         "                      for a mode what it is and the keys that change it\n"
         "  -o, --output OUTDIR|PATTERN\n"
         "                      a batch: every INPUT with the same settings in one\n"
         "                      process, into the folder OUTDIR (made if missing) under\n"
         "                      its own name, or to PATTERN with {name} for the input's\n"
         "                      name (e.g. -o 'out/{name}_moll.png'); a failure is\n"
         "                      reported by file and the rest go on (exit 1 if any\n"
         "                      failed); no output replaces an input or another output;\n"
         "                      -o FILE.png with one INPUT is the same as INPUT FILE.png\n"
         "  --format png|jpg|tif|exr\n"
         "                      the batch's output format (default: PATTERN's extension,\n"
         "                      else each input's own)\n"
         "  --descriptor FILE   replay settings recorded with --record (--set wins)\n"
         "  --record FILE       write the settings the filter recorded, one key a line\n"
         "  --canvas WxH        the size of the result: the filter reads the input at its\n"
         "                      own size and renders the result once at WxH, framed as\n"
         "                      it would frame a picture of that shape; glue modes blend\n"
         "                      with the input resampled to WxH; e.g. --canvas 2048x2048\n"
         "                      for a little planet from a 2:1 panorama\n"
         "  --dialog            ask the plug-in for its dialog\n"
         + DialogSaveUsageText() +
         "  --threads N         worker threads (default: every core); unless N is 1, a\n"
         "                      PNG or JPEG result is coded beside them as rows finish\n"
         "  --png-level N       PNG compression, 0 (none, fastest) to 9 (smallest, slow);\n"
         "                      default 1 with the Up filter, about a second for 8192x4096\n"
         "  --tiff-compression same|none|lzw|deflate\n"
         "                      TIFF compression; default same: as the input TIFF\n"
         "                      (uncompressed stays uncompressed), LZW for other inputs\n"
         "  --plugin PATH       the plug-in to load (default: Gyrelle2.so beside gyrelle)\n"
         "  --quiet, -q         no progress bar and no notes\n"
         "  --version           the version\n"
         "  --help, -h          this text\n"
         "\n"
         "A run without --set or --descriptor starts from the settings last accepted\n"
         "with --dialog, and says so.\n"
         "\n"
         "exit status: 0 done, 1 the filter failed or was cancelled (130 on Ctrl-C,\n"
         "143 on SIGTERM), 2 bad command line or setting, 3 the input cannot be read,\n"
         "4 the output cannot be written, 5 the plug-in cannot be loaded.\n";
}

std::string VersionText() { return "gyrelle (Gyrelle 2) 2.0.0\n"; }

}  // namespace gyhost
