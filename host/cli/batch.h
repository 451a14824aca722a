// gyrelle [options] -o TARGET IN...: the same settings on several inputs in
// one process, as a host replays one recorded action over a folder. The
// plug-in is loaded once and keeps its tables from file to file. TARGET is
// a folder or a pattern holding {name} (the input's name without its
// extension); the format comes from the pattern's extension, else --format,
// else each input's own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/cli/options.h"

namespace gyhost {

struct BatchItem {
  std::string input;
  std::string output;  // empty when `problem` is set
  std::string problem;  // why this input is not rendered: it would overwrite an input or an earlier output, ...
};

// Where each input goes. No two items share an output, and no output is an
// input; an item that would break that gets a problem instead, and the
// others keep their outputs.
std::vector<BatchItem> PlanBatch(const std::vector<std::string>& inputs, const std::string& target,
                                 const std::string& format);

// Renders every item with `renderOne` (the single-file run, given options
// whose input and output are the item's), reports each failure by file and
// goes on; stops only at Ctrl-C. Exit status 0 when all were written, 1
// when any failed, 130 when interrupted.
int RunBatch(const HostOptions& options, const std::function<int(const HostOptions&)>& renderOne);

}  // namespace gyhost
