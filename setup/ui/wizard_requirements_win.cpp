#include "setup/ui/wizard_requirements.h"

#include <windows.h>

#include "setup/app/system_info.h"
#include "setup/app/version_resource.h"
#include "setup/engine/setup_engine.h"
#include "setup/ui/application_base.h"
#include "setup/ui/wizard_ids.h"
#include "setup/ui/wizard_rules.h"
#include "setup/ui/window_services.h"

namespace {
constexpr int kNotifyCheckRequirements = 3;
constexpr int kExtensionVeto = 2;
constexpr int kExitRequirements = 11;
constexpr int kExitAdministrator = 10;
}  // namespace

SystemMeasure MeasureSystem() {
  SystemMeasure m;
  m.systemClass = SystemClassOf(&m.serviceLevel);
  m.systemName = SystemDisplayName();
  char folder[MAX_PATH];
  const UINT n = GetSystemDirectoryA(folder, MAX_PATH);
  if (n > 0 && n < MAX_PATH) {
    VersionResource version;
    uint32_t high = 0, low = 0;
    if (version.Load((std::string(folder) + "\\shdocvw.dll").c_str()) && version.FileVersion(&high, &low))
      m.browser = high;
  }
  if (HDC screen = GetDC(nullptr)) {
    m.width = GetDeviceCaps(screen, HORZRES);
    m.height = GetDeviceCaps(screen, VERTRES);
    m.colourBits = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
  }
  return m;
}

bool CheckRequirements(SetupEngine& engine, ApplicationBase& app, bool quiet,
                       const std::function<int(int)>& notifyExtension) {
  const Requirements required = ReadRequirements(engine.Install());
  const SystemMeasure system = MeasureSystem();
  if (!MeetsRequirements(required, system)) {
    if (!quiet) {
      const std::string text = RequirementsMessage(LoadStringText(IDS_REQUIREMENTS), app.title, required,
                                                   system, LoadStringText(IDS_UNSUPPORTED_WINDOWS));
      app.MessageBoxF(MB_ICONSTOP, "%s", text.c_str());
    }
    app.exitCode = kExitRequirements;
    return false;
  }
  if (notifyExtension && notifyExtension(kNotifyCheckRequirements) == kExtensionVeto) {
    app.exitCode = kExitRequirements;
    return false;
  }
  return true;
}

bool CheckAdministrator(SetupEngine& engine, ApplicationBase& app, bool quiet, bool (*isAdministrator)()) {
  if (engine.Install().Has(kOptUninstallEntry)) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0,
                      KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, &key) == ERROR_SUCCESS)
      RegCloseKey(key);
    else
      engine.ClearInstallOption(kOptUninstallEntry);
  }
  if (engine.Install().Has(kOptNeedsAdmin) && !isAdministrator()) {
    if (!quiet) app.MessageBoxF(MB_ICONEXCLAMATION, "%s", LoadStringText(IDS_NEEDS_ADMINISTRATOR).c_str());
    app.exitCode = kExitAdministrator;
    return false;
  }
  return true;
}
