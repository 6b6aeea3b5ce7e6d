// Why an archive's stream failed to decode. The archive reader only says
// that it failed; decoding the stream once more with setup's decoder alone
// tells a truncated file from damaged data.
#pragma once

#include <string>

#include "tools/kvzpack/archive_locator.h"

namespace kvzpack {

// "truncated: ..." or "damaged: ..." for the stream of the located archive.
std::string DiagnoseStream(const std::string& path, const ArchiveLocation& location,
                           const std::string& password);

}  // namespace kvzpack
