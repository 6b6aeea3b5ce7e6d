#include "setup/engine/install_options.h"

#include "setup/engine/script.h"

InstallSettings ReadInstallSettings(const SetupScript& script) {
  InstallSettings s;
  const ScriptSection* install = script.Section("Install");
  if (!install) return s;
  s.options = uint32_t(install->GetInt("Options", 0));
  s.ignore = uint32_t(install->GetInt("Ignore", 0));
  s.path = install->GetText("Path");
  s.pathList = install->GetText("PathList");
  s.hardware = install->GetText("Hardware");
  s.software = install->GetText("Software");
  s.ie = install->GetInt("IE", 0);
  s.runAppPath = install->GetText("RunAppPath");
  s.runAppArgs = install->GetText("RunAppArgs");
  s.readmePath = install->GetText("ReadmePath");
  s.bmp1 = install->GetText("Bmp1");
  s.bmp2 = install->GetText("Bmp2");
  s.timestamp = install->GetText("Timestamp");
  s.noDirSelect = install->GetInt("NoDirSelect", 0);
  return s;
}

ExtrasSettings ReadExtrasSettings(const SetupScript& script) {
  ExtrasSettings s;
  const ScriptSection* extras = script.Section("Extras");
  if (!extras) return s;
  s.options = uint32_t(extras->GetInt("Options", 0));
  if (s.options & kExtrasUseDll) s.dllPath = extras->GetText("DllPath");
  return s;
}
