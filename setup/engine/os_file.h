// The few file operations that setup's streams and extraction need from the
// system: Win32 in os_file_win.cpp (CreateFileA and friends, usable on
// Windows 95 and NT 4), POSIX in os_file_posix.cpp for the Linux tools and
// native tests. Paths are 8-bit ANSI strings.
#pragma once

#include <cstddef>
#include <cstdint>

// The ways setup opens files.
enum class FileOpen {
  ReadExisting,       // read, shared for reading, the file must exist
  WriteCreateAlways,  // write, not shared, created or truncated
  AppendOpenAlways,   // write, shared for reading, created if missing, at the end
};

namespace osfile {

// A Win32 HANDLE or a POSIX descriptor; kNoFile when there is none.
using Handle = intptr_t;
constexpr Handle kNoFile = -1;

// Windows attribute bits that setup handles itself.
constexpr uint32_t kAttrReadOnly = 0x01;
constexpr uint32_t kAttrHidden = 0x02;
constexpr uint32_t kAttrSystem = 0x04;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20;
constexpr uint32_t kAttrNormal = 0x80;
constexpr uint32_t kNoAttributes = 0xFFFFFFFF;  // no such file

Handle Open(const char* path, FileOpen mode);
void Close(Handle file);
// Reads up to n bytes: true with *got bytes (0 at the end), false on failure.
bool Read(Handle file, void* dst, size_t n, size_t* got);
// Writes all n bytes; false when fewer could be written (disk full).
bool Write(Handle file, const void* src, size_t n);
bool Seek(Handle file, uint64_t offset);
// Moves to the end; *offset receives the file length.
bool SeekEnd(Handle file, uint64_t* offset);
bool Size(Handle file, uint64_t* size);
// Last-write time as a FILETIME (100 ns units since 1601, UTC). Creation
// and access times are left alone.
bool SetLastWriteTime(Handle file, uint64_t fileTime);

// Deletes a file even when it is read-only, hidden or system (those bits are
// cleared first). True when the file is gone, also when it never existed.
bool ForceDelete(const char* path);
// Windows attribute bits; POSIX keeps only read-only (as the write bits).
bool SetAttributes(const char* path, uint32_t attributes);
// kNoAttributes when the file does not exist.
uint32_t GetAttributes(const char* path);
bool GetLastWriteTime(const char* path, uint64_t* fileTime);

}  // namespace osfile
