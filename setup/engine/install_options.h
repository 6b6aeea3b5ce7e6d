// The [Install] and [Extras] settings of the script and the meaning of
// their bits.
#pragma once

#include <cstdint>
#include <string>

class SetupScript;

// [Install] Options.
enum InstallOption : uint32_t {
  kOptFixedFolder = 0x1,         // the folder cannot be changed in the wizard
  kOptNeedsAdmin = 0x2,          // administrator rights required
  kOptRestart = 0x4,             // restart after installation
  kOptUninstallEntry = 0x8,      // register an uninstall entry
  kOptProgramGroup = 0x10,       // create the program group folder
  kOptRecordAllDirs = 0x20,      // record every folder of a created path
  kOptShowWebSite = 0x40,        // web site in the about text and the entry
  kOptShowEmail = 0x80,          // e-mail address in the about text
  kOptAppPaths = 0x100,          // register the main program under App Paths
  kOptFindPrevious = 0x200,      // look for a previous installation without /U
  kOptRefuseWhileRunning = 0x400,
  kOptShowTelephone = 0x800,
  kOptAskBeforeUninstallPrev = 0x1000,
  kOptNoLanguageDialog = 0x2000,
  kOptDeleteLog = 0x4000,        // delete the log when setup ends normally
};

// [Install] Ignore: classes of errors that do not stop the installation.
// Class 0 (application folder, Setup.exe copy, previous version) has no
// bit and can never be ignored.
enum ErrorClass : uint32_t {
  kErrorClassFatal = 0,
  kErrorClassFiles = 0x1,
  kErrorClassRegisterFiles = 0x2,
  kErrorClassShortcuts = 0x4,
  kErrorClassRegistry = 0x8,
  kErrorClassExtensionStop = 0x10000,
};

// [Extras] Options: bit 28 names an extension DLL in DllPath.
constexpr uint32_t kExtrasUseDll = 0x10000000;

struct InstallSettings {
  uint32_t options = 0;
  uint32_t ignore = 0;
  std::string path;       // main program
  std::string pathList;   // App Paths Path value
  std::string hardware;   // width|height|colour bits
  std::string software;   // service levels per system class
  int32_t ie = 0;         // minimum browser version
  std::string runAppPath, runAppArgs, readmePath;
  std::string bmp1, bmp2;
  std::string timestamp;  // present only in an installed copy
  int32_t noDirSelect = 0;

  bool Has(InstallOption bit) const { return (options & bit) != 0; }
  // An error of this class stops the installation.
  bool Stops(ErrorClass cls) const { return cls == kErrorClassFatal || (ignore & cls) == 0; }
  bool IsInstalledCopy() const { return !timestamp.empty(); }
};

struct ExtrasSettings {
  uint32_t options = 0;
  std::string dllPath;  // only when options has kExtrasUseDll
};

InstallSettings ReadInstallSettings(const SetupScript& script);
ExtrasSettings ReadExtrasSettings(const SetupScript& script);
