#include "host/cli/batch.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "host/callbacks.h"
#include "host/io/image_io.h"
#include "host/run_host.h"

namespace gyhost {

namespace {

namespace fs = std::filesystem;

void Say(const std::string& text) { std::fprintf(stderr, "gyrelle: %s\n", text.c_str()); }

// One spelling per file, so that "out/a.png" and "./out//a.png" collide.
std::string SameFile(const std::string& path) {
  std::error_code ec;
  const fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
  return ec ? fs::path(path).lexically_normal().string() : p.string();
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Extension(const std::string& path) {
  const fs::path p(path);
  return p.has_extension() ? p.extension().string() : "";
}

std::string OutputFor(const std::string& input, const std::string& target, const std::string& format) {
  const std::string stem = fs::path(input).stem().string();
  const std::string extension = format.empty() ? Extension(input) : "." + format;
  const size_t at = target.find("{name}");
  if (at == std::string::npos) return (fs::path(target) / (stem + extension)).string();
  std::string out = target;
  out.replace(at, 6, stem);
  return FormatFromExtension(out) == ImageFormat::Unknown ? out + extension : out;
}

}  // namespace

std::vector<BatchItem> PlanBatch(const std::vector<std::string>& inputs, const std::string& target,
                                 const std::string& format) {
  std::vector<BatchItem> items;
  std::vector<std::string> inputFiles;
  for (const std::string& in : inputs) inputFiles.push_back(SameFile(in));
  for (size_t i = 0; i < inputs.size(); ++i) {
    BatchItem item;
    item.input = inputs[i];
    const std::string out = OutputFor(inputs[i], target, format);
    const std::string outFile = SameFile(out);
    if (IsFolder(inputs[i])) item.problem = "it is a folder, not an image";
    for (size_t j = 0; j < inputs.size() && item.problem.empty(); ++j)
      if (inputFiles[j] == outFile) item.problem = "its output " + out + " would replace the input " + inputs[j];
    for (const BatchItem& earlier : items)
      if (item.problem.empty() && !earlier.output.empty() && SameFile(earlier.output) == outFile)
        item.problem = "its output " + out + " is already the output of " + earlier.input;
    if (item.problem.empty()) item.output = out;
    items.push_back(item);
  }
  return items;
}

int RunBatch(const HostOptions& o, const std::function<int(const HostOptions&)>& renderOne) {
  if (o.outputTarget.find("{name}") == std::string::npos && !IsFolder(o.outputTarget)) {
    std::error_code ec;
    if (!fs::create_directory(o.outputTarget, ec) || ec) {
      Say("cannot make the output folder " + o.outputTarget + ": " + (ec ? ec.message() : "it is not a folder"));
      return kExitCannotWrite;
    }
  }
  const std::vector<BatchItem> items = PlanBatch(o.inputs, o.outputTarget, o.format);
  std::vector<std::string> failed;
  int32_t written = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    const BatchItem& item = items[i];
    if (!item.problem.empty()) {
      Say(item.input + ": not rendered: " + item.problem);
      failed.push_back(item.input);
      continue;
    }
    if (!o.quiet) Say("(" + std::to_string(i + 1) + " of " + std::to_string(items.size()) + ") " + item.input);
    HostOptions one = o;
    one.input = item.input;
    one.output = item.output;
    const int status = renderOne(one);
    if (status == kExitOK) {
      ++written;
      continue;
    }
    failed.push_back(item.input);
    if (status == kExitInterrupted || InterruptRequested()) {
      Say("cancelled after " + std::to_string(written) + " of " + std::to_string(items.size()) + " files");
      return kExitInterrupted;
    }
  }
  if (failed.empty()) {
    if (!o.quiet) Say("all " + std::to_string(items.size()) + " files written");
    return kExitOK;
  }
  std::string names;
  for (const std::string& f : failed) names += " " + f;
  Say(std::to_string(written) + " of " + std::to_string(items.size()) + " files written; failed:" + names);
  return kExitFilterFailed;
}

}  // namespace gyhost
