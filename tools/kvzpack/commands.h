// The four kvzpack commands. Each prints its own one-line error on stderr
// and returns an exit code (exit_codes.h).
#pragma once

#include <string>
#include <vector>

#include "tools/kvzpack/archive_writer.h"

namespace kvzpack {

struct PackInput {
  std::string name;
  std::string path;
  EntryOverrides overrides;
};

struct PackRequest {
  std::string out;
  std::string stub;  // empty: a stand-alone .kvz
  ArchiveOptions archive;
  std::vector<PackInput> inputs;
};

int RunPack(const PackRequest& request);
int RunList(const std::string& file, const std::string& password);
int RunTest(const std::string& file, const std::string& password);
int RunExtract(const std::string& file, const std::string& dir, const std::string& password);

}  // namespace kvzpack
