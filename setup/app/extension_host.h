// ExtensionHost: the package's optional extension DLL. setup loads it by
// full path, calls its one entry point VokHandler with a call record at
// every stage of the run, acts on the answers, and offers it a table of
// services. Nothing thrown inside the DLL or inside a service crosses the
// module boundary.
#pragma once

#include <cstdint>
#include <string>

#include "setup/app/extension_system.h"

#if defined(_WIN32)
#define KV_EXTENSION_CALL __stdcall
#else
#define KV_EXTENSION_CALL
#endif

class ExtensionHost;
class SetupEngine;

// The first argument of every call. On the 32-bit systems it is the
// 24-byte record the DLL interface defines.
struct ExtensionCallRecord {
  uint32_t code;
  void* data;
  uint32_t runMode;  // 1 install, 2 remove, 3 register
  int32_t answer;    // preset to 0, set by the DLL
  uint32_t reserved;
  ExtensionHost* host;  // its first word points to the services table
};
#if !defined(_WIN64) && !defined(__x86_64__) && !defined(__aarch64__)
static_assert(sizeof(ExtensionCallRecord) == 24, "the DLL interface's call record");
#endif

// Non-zero when the DLL has set an answer.
using VokHandlerProc = int(KV_EXTENSION_CALL*)(ExtensionCallRecord* record, void* second);

enum ExtensionNotification : uint32_t {
  kExtLoaded = 0,      // answer: the DLL's interface version
  kExtInitialise = 1,  // negative: logged; -3 ends setup
  kExtProgramEnd = 2,
  kExtRequirementsMet = 3,  // 2 fails the requirement check
  kExtWorkBegins = 7,
  kExtWorkEnds = 8,
  kExtWorkStopped = 9,
  kExtOptionsShown = 10,
  kExtOptionsLeft = 11,  // 0 or 1 lets the page be left
  kExtInstallFilesBefore = 12,
  kExtInstallFilesAfter = 13,
  kExtRegisterBefore = 14,
  kExtRegisterAfter = 15,
  kExtShortcutsBefore = 16,
  kExtShortcutsAfter = 17,
  kExtSettingsBefore = 18,
  kExtSettingsAfter = 19,
  kExtRemoveFilesBefore = 20,
  kExtRemoveFilesAfter = 21,
  kExtUnregisterBefore = 22,
  kExtUnregisterAfter = 23,
  kExtRemoveShortcutsBefore = 24,
  kExtRemoveShortcutsAfter = 25,
  kExtRestoreSettingsBefore = 26,
  kExtRestoreSettingsAfter = 27,
};

enum : int32_t {
  kExtAnswerStop = -3,       // the engine fails (never ignored)
  kExtAnswerException = -4,  // the DLL raised an exception
  kExtMinimumVersion = 222,
  kExtServicesVersion = 267,
  kExtServiceCount = 15,
};

enum : uint32_t {
  kEventExtensionNotLoaded = 0x04040001,
  kEventExtensionTooOld = 0x04040002,
  kEventExtensionInitFailed = 0x04040003,
};

// Run-time facts the services report; SetupApp fills them in.
struct ExtensionRunInfo {
  uint32_t runMode = 1;
  int quietLevel = 0;
  void* mainWindow = nullptr;  // HWND
};

class ExtensionHost {
 public:
  explicit ExtensionHost(SetupEngine& engine);
  ~ExtensionHost();
  ExtensionHost(const ExtensionHost&) = delete;
  ExtensionHost& operator=(const ExtensionHost&) = delete;

  ExtensionRunInfo& RunInfo() { return info_; }
  SetupEngine& Engine() { return engine_; }

  // Unloads anything loaded, then loads the DLL at this full path and
  // finds VokHandler ("_VokHandler@8", then "VokHandler"). False for an
  // empty path, a DLL that does not load or has no entry point.
  bool Load(const std::string& path);
  // Load, then notifications 0 and 1 as at start-up. A DLL that cannot be
  // loaded is logged and force-deleted and *dllPath cleared; setup goes
  // on without it. False only when the DLL answers -3 to its
  // initialisation (setup ends, the engine has failed).
  bool Start(std::string* dllPath);
  // Calls the DLL (when loaded and enabled) and returns its answer: -3
  // fails the engine, other negative answers disable the DLL.
  int32_t Notify(uint32_t code, void* data = nullptr, void* second = nullptr);
  // Notification 2, then Unload.
  void End();
  void Unload();

  bool Loaded() const { return entry_ != nullptr; }
  bool Disabled() const { return disabled_; }
  const ExtensionCallRecord& CallRecord() const { return record_; }
  // The table the DLL reaches through the host's first word.
  static const void* const* ServiceTable();

 private:
  // Layout the DLL relies on: the services pointer is the first word.
  [[maybe_unused]] const void* const* services_;
  bool disabled_ = true;
  ExtensionCallRecord record_ = {};
  extsys::Module module_;
  VokHandlerProc entry_ = nullptr;

  SetupEngine& engine_;
  ExtensionRunInfo info_;
};
