#include "setup/app/extension_host.h"

#include <cstring>

#include "setup/app/setup_log.h"
#include "setup/engine/os_file.h"
#include "setup/engine/setup_engine.h"

namespace {

// Copies text into the DLL's buffer, cut to size - 1 characters.
bool CopyOut(const std::string& text, char* buffer, int32_t size) {
  if (!buffer || size <= 0) return false;
  const size_t n = text.size() < size_t(size) - 1 ? text.size() : size_t(size) - 1;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return n > 0;
}

// Every service catches what it raises: nothing may unwind into the DLL.
#define KV_SERVICE_GUARD(body) \
  try {                        \
    body                       \
  } catch (...) {              \
    return 0;                  \
  }

intptr_t KV_EXTENSION_CALL ServiceVersion(ExtensionHost*) { return kExtServicesVersion; }
intptr_t KV_EXTENSION_CALL ServiceMainWindow(ExtensionHost* host) {
  return reinterpret_cast<intptr_t>(host->RunInfo().mainWindow);
}
intptr_t KV_EXTENSION_CALL ServiceIsNt(ExtensionHost*) { return extsys::IsNtFamily(); }
intptr_t KV_EXTENSION_CALL ServiceIsAdmin(ExtensionHost*) {
  return !extsys::IsNtFamily() || extsys::IsAdministrator();
}
intptr_t KV_EXTENSION_CALL ServiceQuietLevel(ExtensionHost* host) {
  return host->RunInfo().quietLevel;
}
intptr_t KV_EXTENSION_CALL ServiceExpand(ExtensionHost* host, const char* text, char* buffer,
                                         int32_t size) {
  KV_SERVICE_GUARD({
    if (!buffer || size <= 0) return 0;
    return CopyOut(host->Engine().Expand(text ? text : ""), buffer, size);
  })
}
intptr_t KV_EXTENSION_CALL ServiceVersionString(ExtensionHost*, const char* name, char* buffer,
                                                int32_t size) {
  KV_SERVICE_GUARD({
    if (!name || !buffer || size <= 0) return 0;
    return CopyOut(extsys::OwnVersionString(name), buffer, size);
  })
}
intptr_t KV_EXTENSION_CALL ServiceSetSymbol(ExtensionHost* host, const char* name,
                                            const char* value) {
  KV_SERVICE_GUARD({
    // A nameless symbol could never be found again and would add a
    // line without a key to the installed script.
    if (!name || !*name) return 0;
    host->Engine().Symbols().SetValue(std::string_view(name), value ? value : "");
    host->Engine().SetScriptChanged();
    return 1;
  })
}
intptr_t KV_EXTENSION_CALL ServiceLanguage(ExtensionHost* host) {
  return host->Engine().LanguageId();
}
intptr_t KV_EXTENSION_CALL ServiceUserLanguage(ExtensionHost*) {
  return extsys::UserDefaultLanguage();
}
// The DLL interface knows one failed state, 4; the engine also tells a
// cancelled run apart, which counts as failed here.
intptr_t KV_EXTENSION_CALL ServiceEngineState(ExtensionHost* host) {
  const int state = host->Engine().State();
  return state >= kEngineFailed ? 4 : state;
}
intptr_t KV_EXTENSION_CALL ServiceReportFailure(ExtensionHost* host) {
  KV_SERVICE_GUARD({ return host->Engine().StepFailed(kErrorClassExtensionStop) ? 1 : 0; })
}
intptr_t KV_EXTENSION_CALL ServiceLogEvent(ExtensionHost*, uint32_t code, int32_t argc,
                                           const char* const* argv) {
  KV_SERVICE_GUARD({
    if (argc < 0 || (argc > 0 && !argv)) return 0;
    return SetupLog::Instance().Event(code, argc, argv);
  })
}
intptr_t KV_EXTENSION_CALL ServiceRestart(ExtensionHost* host) {
  host->Engine().SetRestartNeeded();
  return 1;
}
intptr_t KV_EXTENSION_CALL ServiceRestartAndRegister(ExtensionHost* host) {
  host->Engine().SetRegistrationRunNeeded();
  return 1;
}
#undef KV_SERVICE_GUARD

template <typename F>
const void* Entry(F f) {
  return reinterpret_cast<const void*>(f);
}

const void* const kServices[kExtServiceCount] = {
    Entry(ServiceVersion),    Entry(ServiceMainWindow),    Entry(ServiceIsNt),
    Entry(ServiceIsAdmin),    Entry(ServiceQuietLevel),    Entry(ServiceExpand),
    Entry(ServiceVersionString), Entry(ServiceSetSymbol),  Entry(ServiceLanguage),
    Entry(ServiceUserLanguage), Entry(ServiceEngineState), Entry(ServiceReportFailure),
    Entry(ServiceLogEvent),   Entry(ServiceRestart),       Entry(ServiceRestartAndRegister),
};

// False when the DLL raised an exception (a C++ one that reached us).
bool CallEntry(VokHandlerProc entry, ExtensionCallRecord* record, void* second, int* result) {
  try {
    *result = entry(record, second);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

const void* const* ExtensionHost::ServiceTable() { return kServices; }

ExtensionHost::ExtensionHost(SetupEngine& engine) : services_(kServices), engine_(engine) {}

ExtensionHost::~ExtensionHost() { Unload(); }

bool ExtensionHost::Load(const std::string& path) {
  Unload();
  if (path.empty() || !module_.Load(path)) return false;
  void* entry = module_.Find("_VokHandler@8");
  if (!entry) entry = module_.Find("VokHandler");
  if (!entry) {
    Unload();
    return false;
  }
  entry_ = reinterpret_cast<VokHandlerProc>(entry);
  disabled_ = false;
  return true;
}

void ExtensionHost::Unload() {
  module_.Reset();
  entry_ = nullptr;
  disabled_ = true;
  record_ = {};
}

int32_t ExtensionHost::Notify(uint32_t code, void* data, void* second) {
  if (!entry_ || disabled_) return 0;
  record_ = {};
  record_.code = code;
  record_.data = data;
  record_.runMode = info_.runMode;
  record_.host = this;
  int result = 0;
  int32_t answer = kExtAnswerException;
  if (CallEntry(entry_, &record_, second, &result)) answer = result ? record_.answer : 0;
  if (answer == kExtAnswerStop) {
    engine_.StepFailed(kErrorClassFatal);
  } else if (answer < 0) {
    disabled_ = true;
  }
  return answer;
}

bool ExtensionHost::Start(std::string* dllPath) {
  if (dllPath->empty()) return true;
  if (!Load(*dllPath)) {
    SetupLog::Instance().Event(kEventExtensionNotLoaded, {dllPath->c_str()});
    osfile::ForceDelete(dllPath->c_str());
    dllPath->clear();
    return true;
  }
  const int32_t version = Notify(kExtLoaded);
  if (version < kExtMinimumVersion) {
    SetupLog::Instance().Event(kEventExtensionTooOld,
                               {dllPath->c_str(), std::to_string(version).c_str()});
    disabled_ = true;
    return true;
  }
  const int32_t answer = Notify(kExtInitialise);
  if (answer < 0) {
    SetupLog::Instance().Event(kEventExtensionInitFailed,
                               {dllPath->c_str(), std::to_string(answer).c_str()});
  }
  return answer != kExtAnswerStop;
}

void ExtensionHost::End() {
  Notify(kExtProgramEnd);
  Unload();
}
