#include <sys/stat.h>

#include <cstdio>

#include "tools/kvzpack/commands.h"
#include "tools/kvzpack/exit_codes.h"
#include "tools/kvzpack/output_file.h"
#include "tools/kvzpack/stamp.h"
#include "tools/kvzpack/terminal_progress.h"

namespace kvzpack {
namespace {

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "kvzpack: %s\n", message.c_str());
  return code;
}

}  // namespace

int RunPack(const PackRequest& request) {
  // Names first: a bad one should not cost reading everything.
  for (const PackInput& input : request.inputs) {
    const std::string problem = CheckEntryName(input.name);
    if (!problem.empty()) return Fail(kExitInput, problem);
  }
  std::vector<uint8_t> stub;
  std::string error;
  if (!request.stub.empty() && !ReadWholeFile(request.stub, &stub, &error))
    return Fail(kExitInput, "stub " + error);

  uint64_t total = 0;
  for (const PackInput& input : request.inputs) {
    struct stat st;
    if (::stat(input.path.c_str(), &st) == 0) total += uint64_t(st.st_size);
  }
  TerminalProgress progress("kvzpack");
  progress.SetRange(total);

  ArchiveWriter writer;
  for (const PackInput& input : request.inputs) {
    const uint64_t before = writer.StreamSize();
    if (!writer.AddFile(input.name, input.path, input.overrides, &error))
      return Fail(kExitInput, error);
    for (uint64_t added = writer.StreamSize() - before; added != 0;) {
      const uint32_t step = added > 0x40000000u ? 0x40000000u : uint32_t(added);
      progress.Add(step);
      added -= step;
    }
  }
  progress.Note("compressing " + std::to_string(writer.StreamSize() >> 20) + " MB");

  std::vector<uint8_t> archive;
  if (!writer.Finish(request.archive, &archive, &error)) return Fail(kExitInput, error);
  OutputFileOptions output;
  std::vector<uint8_t> stamped;
  const std::vector<uint8_t>* result = &archive;
  if (!request.stub.empty()) {
    if (!StampExecutable(stub, archive, &stamped, &error)) return Fail(kExitInput, error);
    result = &stamped;
    output.mode = 0777;
  }
  progress.Done();
  if (!WriteFileAtomically(request.out, result->data(), result->size(), output, &error))
    return Fail(kExitOutput, error);
  std::printf("%s: %zu entries, %llu bytes packed into %zu\n", request.out.c_str(),
              writer.EntryCount(), (unsigned long long)writer.StreamSize(), archive.size());
  return kExitOk;
}

}  // namespace kvzpack
