// FileItem: one File= line of a [Files] section,
//   source|size|flags|replace|shared|registration=target name|status|
//   reserved|osflags|attributes|font name|languages
// with the run-time state of its installation. The line is rewritten in
// place after every change, so the saved script records what was done and
// a removal (or rollback) reads full target paths in the first field.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "setup/engine/archive.h"

struct ScriptItem;

// Field 3.
enum FileFlag : uint32_t {
  kFileInstall = 0x1,
  kFileRemove = 0x2,
  kFileDeleteAtInstall = 0x10,  // only when kFileInstall is clear
  kFileNeedsRestart = 0x80000000,
};

// Field 4.
enum ReplaceRule : int32_t {
  kReplaceNever = 0,
  kReplaceAlways = 1,
  kReplaceIfNewer = 2,
};

// Field 5.
enum SharedKind : int32_t {
  kNotShared = 0,
  kSharedKeepExisting = 1,  // removed at count zero only if we created it
  kSharedRemoveAtZero = 2,
};

// Field 6: the type in the low four bits, then two flag bits.
enum FileRegistration : int32_t {
  kFileRegNone = 0,
  kFileRegCom = 1,      // DllRegisterServer
  kFileRegTypeLib = 2,
  kFileRegServer = 3,   // "/RegServer"
  kFileRegFont = 4,
  kFileRegHelp = 5,     // Windows Help file
  kFileRegTypeMask = 0x0F,
  kFileRegFontByName = 0x40,  // font value holds the file name only
  kFileRegGroup = 0x80,       // apply the script group named like the target
};

// Field 7.
enum FileStatus : int32_t {
  kFileNotProcessed = 0,
  kFileInstalledNew = 1,
  kFileReplaced = 2,       // also once a deferred replacement is scheduled
  kFileKept = 3,
  kFileNotInstalled = 4,   // line without the install flag
  kFileProtected = 5,
  kFileSourceMissing = -1,
  kFileInUse = -2,         // replacement deferred to the next restart
  kFileFailed = -3,
  kFileOtherOs = -4,       // also: a delete-at-install line deleted its copy
  kFileOtherLanguage = -5,
};

// Attributes value of a record for "no such file".
constexpr uint16_t kNoFileRecord = 0xFFFF;

inline bool RecordExists(const ArchiveEntryHeader& r) { return r.attributes != kNoFileRecord; }
ArchiveEntryHeader NoFileRecord();

struct FileItem {
  // The line.
  std::string source;  // as written: archive entry, relative path, or (installed copy) target
  uint32_t size = 0;
  uint32_t flags = 0;
  int32_t replaceRule = 0;
  int32_t shared = 0;
  int32_t registration = 0;
  std::string targetName;
  int32_t status = 0;
  int32_t reserved = -1;
  uint32_t osFlags = 0xF7;
  uint32_t attributes = 0;
  std::string fontName;
  std::string languages;
  ScriptItem* item = nullptr;

  // Run-time state.
  std::string expandedSource;
  std::string target;  // full path once computed; written back from then on
  std::string temp;    // target + ".$$$"
  ArchiveEntryHeader sourceRecord = NoFileRecord();
  ArchiveEntryHeader targetRecord = NoFileRecord();

  int32_t RegType() const { return registration & kFileRegTypeMask; }
  bool IsShared() const { return shared != kNotShared; }
  bool HasWildcard() const { return target.find_first_of("*?") != std::string::npos; }
};

// Parses a File= value; false for fewer than 12 fields (the script is
// then rejected).
bool ParseFileLine(std::string_view value, FileItem* item);
// The line as written back: the target once known, else the expanded
// source (else the source as written).
std::string FormatFileLine(const FileItem& item);
// Rewrites the item's script line, if it has one.
void StoreFileItem(const FileItem& item);

// Field 12: text up to the first '=' is ignored, then decimal ids
// separated by single characters ("=1033=1031"). Empty: no list.
bool LanguageListEmpty(std::string_view languages);
bool LanguageListed(std::string_view languages, uint32_t languageId);

// The last path component ("a\b\c.dll" -> "c.dll"); '/' separates too.
std::string_view FileNamePart(std::string_view path);
