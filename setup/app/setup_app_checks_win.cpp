// SetupApp: the extension DLL at start, the running-application check, the
// wizard bitmaps and the administrator check before the work.
#include <windows.h>
#include <tlhelp32.h>

#include <string>

#include "setup/app/extension_host.h"
#include "setup/app/setup_app.h"
#include "setup/app/setup_app_rules.h"
#include "setup/app/setup_resource_ids.h"
#include "setup/engine/setup_engine.h"
#include "setup/ui/window_services.h"
#include "setup/ui/wizard_requirements.h"

namespace {

typedef HANDLE(WINAPI* SnapshotFn)(DWORD, DWORD);
typedef BOOL(WINAPI* ProcessWalkFn)(HANDLE, PROCESSENTRY32*);

struct WindowSearch {
  DWORD process;
  std::string title;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process || !IsWindowVisible(window)) return TRUE;
  char text[261] = {};
  GetWindowTextA(window, text, sizeof text);
  search->title = text;
  return FALSE;
}

// The id of a running process with that executable name, or 0. Systems
// without the Toolhelp functions in kernel32 are not checked.
DWORD FindProcess(const std::string& path) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto snapshot = reinterpret_cast<SnapshotFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "CreateToolhelp32Snapshot")));
  auto first = reinterpret_cast<ProcessWalkFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "Process32First")));
  auto next = reinterpret_cast<ProcessWalkFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "Process32Next")));
  if (!snapshot || !first || !next) return 0;
  HANDLE processes = snapshot(TH32CS_SNAPPROCESS, 0);
  if (processes == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  DWORD found = 0;
  for (BOOL ok = first(processes, &entry); ok && !found; ok = next(processes, &entry))
    if (entry.th32ProcessID != GetCurrentProcessId() && ProcessNameMatches(entry.szExeFile, path))
      found = entry.th32ProcessID;
  CloseHandle(processes);
  return found;
}

HBITMAP LoadBitmapFile(const std::string& path) {
  if (path.empty()) return nullptr;
  return static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

HBITMAP LoadBitmapResource(int id) {
  HMODULE module = FindResourceModule(reinterpret_cast<const char*>(RT_BITMAP), MAKEINTRESOURCEA(id));
  return module ? LoadBitmapA(module, MAKEINTRESOURCEA(id)) : nullptr;
}

}  // namespace

bool SetupApp::StartExtension() {
  extension_ = std::make_unique<ExtensionHost>(*engine_);
  extension_->RunInfo().runMode = uint32_t(runMode_);
  extension_->RunInfo().quietLevel = settings_.quietLevel;
  const ExtrasSettings& extras = engine_->Loaded().extras;
  if (!(extras.options & kExtrasUseDll) || extras.dllPath.empty()) return true;
  std::string path = extras.dllPath;
  if (!engine_->Install().IsInstalledCopy()) {
    if (!ExtractNamedFile(path, "_Setupx.dll")) return false;
    run_.tempExtensionDll = path;
  }
  if (!extension_->Start(&path)) {
    if (engine_->State() < kEngineFailed) engine_->SetState(kEngineFailed);
    return false;
  }
  if (path.empty()) run_.tempExtensionDll.clear();
  return true;
}

bool SetupApp::CheckRunningApplication() {
  const InstallSettings& install = engine_->Install();
  if (!install.Has(kOptRefuseWhileRunning) || install.path.empty()) return true;
  const std::string path = engine_->Expand(install.path);
  const DWORD process = FindProcess(path);
  if (!process) return true;
  if (Quiet()) {
    SetExitCode(13);
    return false;
  }
  WindowSearch search{process, std::string()};
  EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
  const std::string name = search.title.empty() ? path : search.title;
  if (MessageBoxString(MB_ICONEXCLAMATION | MB_OKCANCEL | MB_SETFOREGROUND,
                       IDS_APPLICATION_ACTIVE, name.c_str()) != IDOK) {
    SetExitCode(13);
    return false;
  }
  return true;
}

void SetupApp::LoadBitmaps() {
  InstallSettings install = engine_->Install();
  ScriptSection* section = engine_->Script().Section("Install");
  struct {
    std::string& value;
    const char* fixedName;
    const char* key;
    std::string& temp;
    HBITMAP& bitmap;
    int resource;
  } bitmaps[] = {{install.bmp1, "_Setup1.bmp", "Bmp1", run_.tempBitmap1, bitmap1_, 1},
                 {install.bmp2, "_Setup2.bmp", "Bmp2", run_.tempBitmap2, bitmap2_, 2}};
  for (auto& b : bitmaps) {
    std::string path = b.value;
    if (!path.empty() && !install.IsInstalledCopy()) {
      if (ExtractNamedFile(path, b.fixedName)) {
        b.temp = path;
        if (section) section->SetText(b.key, path);
      } else {
        path.clear();
      }
    }
    b.bitmap = LoadBitmapFile(path);
    if (!b.bitmap) b.bitmap = LoadBitmapResource(b.resource);
  }
}

bool SetupApp::CheckAdministrator() { return ::CheckAdministrator(*engine_, *this, Quiet()); }
