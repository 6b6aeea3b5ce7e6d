// kvzpack's exit codes; `kvzpack --help` prints the same table.
#pragma once

namespace kvzpack {

enum ExitCode {
  kExitOk = 0,
  kExitUsage = 1,          // bad command line
  kExitInput = 2,          // an input cannot be read or stored (file, stub, name)
  kExitOutput = 3,         // the output cannot be written
  kExitNoArchive = 4,      // neither a stamped executable nor a .kvz archive
  kExitNeedsPassword = 5,  // encrypted and no password given
  kExitWrongPassword = 6,
  kExitDamaged = 7,        // damaged or truncated archive
  kExitUnsafeName = 8,     // extract: an entry name would leave the folder
};

}  // namespace kvzpack
