// kvzpack: builds the archives setup reads, and lists, tests and extracts
// them with setup's own reader.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/kvzpack/commands.h"
#include "tools/kvzpack/exit_codes.h"

namespace {

using namespace kvzpack;

const char kUsage[] =
    "usage:\n"
    "  kvzpack pack --out FILE [--stub EXE] [--format kvz1|kvz2] [--password TEXT]\n"
    "               [--hide-password] [--attributes HEX|auto] NAME=PATH ...\n"
    "  kvzpack list FILE [--password TEXT]\n"
    "  kvzpack test FILE [--password TEXT]\n"
    "  kvzpack extract FILE DIR [--password TEXT]\n"
    "\n"
    "pack     writes the entries in the order given, compressed as one stream.\n"
    "         NAME is the entry name (up to the first '=', at most 260 bytes,\n"
    "         e.g. 0001\\F7\\lang.lng); PATH the file. Each entry takes the file's\n"
    "         size, last-write time, read-only bit (plus the archive bit) and PE\n"
    "         version words; --attributes HEX forces the attribute word of the\n"
    "         entries after it, --attributes auto goes back to the file's.\n"
    "         --stub appends the archive to a copy of setup and stamps it; a stub\n"
    "         that already carries an archive is refused. The default format is\n"
    "         kvz2; --password encrypts (kvz2 only, 1 to 255 bytes) and\n"
    "         --hide-password makes setup's password prompt hide the typing.\n"
    "list     one line per entry: name, size, last-write time (UTC), file\n"
    "         version, attributes (hex).\n"
    "test     decodes every entry and checks the stream's Adler-32.\n"
    "extract  writes every entry below DIR with its time (backslashes become\n"
    "         folders); names that would leave DIR are refused.\n"
    "FILE is a stamped setup executable or a stand-alone .kvz archive.\n"
    "\n"
    "exit codes:\n"
    "  0 success\n"
    "  1 bad command line\n"
    "  2 an input cannot be read or stored (file, stub, entry name, password)\n"
    "  3 the output cannot be written\n"
    "  4 not a stamped executable nor a .kvz archive\n"
    "  5 the archive is encrypted and needs a password\n"
    "  6 wrong password\n"
    "  7 damaged or truncated archive\n"
    "  8 extract: an entry name would leave DIR\n";

int UsageError(const std::string& message) {
  std::fprintf(stderr, "kvzpack: %s (kvzpack --help shows the usage)\n", message.c_str());
  return kExitUsage;
}

bool ParseHex16(const char* text, uint16_t* value) {
  char* end = nullptr;
  errno = 0;
  const unsigned long v = std::strtoul(text, &end, 16);
  if (!*text || *end || errno || v > 0xFFFF) return false;
  *value = uint16_t(v);
  return true;
}

int Pack(int argc, char** argv) {
  PackRequest request;
  bool formatGiven = false;
  EntryOverrides overrides;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char** out) {
      if (i + 1 >= argc) return false;
      *out = argv[++i];
      return true;
    };
    const char* v = nullptr;
    if (arg == "--out") {
      if (!value(&v)) return UsageError("--out needs a file");
      request.out = v;
    } else if (arg == "--stub") {
      if (!value(&v)) return UsageError("--stub needs a file");
      request.stub = v;
    } else if (arg == "--format") {
      if (!value(&v)) return UsageError("--format needs kvz1 or kvz2");
      if (std::strcmp(v, "kvz1") == 0)
        request.archive.format = ArchiveFormat::Kvz1;
      else if (std::strcmp(v, "kvz2") == 0)
        request.archive.format = ArchiveFormat::Kvz2;
      else
        return UsageError(std::string("unknown format ") + v);
      formatGiven = true;
    } else if (arg == "--password") {
      if (!value(&v)) return UsageError("--password needs a text");
      if (!*v) return UsageError("--password needs a non-empty text");
      request.archive.password = v;
    } else if (arg == "--hide-password") {
      request.archive.hidePassword = true;
    } else if (arg == "--attributes") {
      if (!value(&v)) return UsageError("--attributes needs a hex word or auto");
      if (std::strcmp(v, "auto") == 0) {
        overrides.setAttributes = false;
      } else if (ParseHex16(v, &overrides.attributes)) {
        overrides.setAttributes = true;
      } else {
        return UsageError(std::string("bad attribute word ") + v);
      }
    } else if (arg.size() > 1 && arg[0] == '-' && arg.find('=') == std::string::npos) {
      return UsageError("unknown option " + arg);
    } else {
      const size_t eq = arg.find('=');
      if (eq == std::string::npos || eq + 1 == arg.size())
        return UsageError("expected NAME=PATH, got " + arg);
      request.inputs.push_back({arg.substr(0, eq), arg.substr(eq + 1), overrides});
    }
  }
  if (request.out.empty()) return UsageError("pack needs --out FILE");
  if (request.inputs.empty()) return UsageError("nothing to pack: give NAME=PATH");
  if (!request.archive.password.empty() && formatGiven &&
      request.archive.format != ArchiveFormat::Kvz2)
    return UsageError("only kvz2 archives can be encrypted");
  if (!request.archive.password.empty()) request.archive.format = ArchiveFormat::Kvz2;
  return RunPack(request);
}

// FILE [DIR] [--password TEXT] for the reading commands.
int Read(const std::string& command, int argc, char** argv) {
  std::vector<std::string> positional;
  std::string password;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--password") {
      if (i + 1 >= argc) return UsageError("--password needs a text");
      password = argv[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      return UsageError("unknown option " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  const size_t wanted = command == "extract" ? 2 : 1;
  if (positional.size() != wanted)
    return UsageError(command + (wanted == 2 ? " needs FILE and DIR" : " needs one FILE"));
  if (command == "list") return RunList(positional[0], password);
  if (command == "test") return RunTest(positional[0], password);
  return RunExtract(positional[0], positional[1], password);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  const std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  if (command == "pack") return Pack(argc - 2, argv + 2);
  if (command == "list" || command == "test" || command == "extract")
    return Read(command, argc - 2, argv + 2);
  return UsageError("unknown command " + command);
}
