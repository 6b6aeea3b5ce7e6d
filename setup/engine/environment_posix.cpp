// Linux stand-in: no system environment to change.
#include "setup/engine/environment.h"

static EnvironmentPass Unavailable() {
  EnvironmentPass pass;
  pass.ok = false;
  return pass;
}

EnvironmentPass ApplyEnvironment(ScriptSection&, Registry&, SettingsContext&,
                                 const std::string&) {
  return Unavailable();
}
EnvironmentPass UndoEnvironment(ScriptSection&, Registry&, SettingsContext&,
                                const std::string&) {
  return Unavailable();
}
EnvironmentPass UpdateAutoexecFile(ScriptSection&, SettingsContext&, const std::string&, bool) {
  return Unavailable();
}
