// The record of a file on disk in the archive entry's layout (size,
// last-write time, product and file version, attributes), and its log line.
#pragma once

#include "setup/engine/archive.h"

// Windows builds. False (and a "no such file" record) when the file does
// not exist or is a folder; a file without version resource has versions 0.
bool ReadFileRecord(const char* path, ArchiveEntryHeader* record);

// Event 0x01010001: tag ("Src" or "Tgt"), product version, file version,
// local last-write time and size. Windows builds.
void LogFileRecord(const char* tag, const ArchiveEntryHeader& record);
