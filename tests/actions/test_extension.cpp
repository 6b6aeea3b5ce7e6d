// A stand-in for a package's extension DLL. What it answers comes from
// the environment, so one build serves every case:
//   KVX_ANSWERS   "code:answer[:z],..." (z: set the answer, return zero);
//                 notification 0 answers 267 unless listed
//   KVX_RECORD    file that gets one line per notification ("n code mode")
//   KVX_SERVICES  notification on which to call the host's services and
//                 record their results ("s<index> ...")
//   KVX_REGISTER  notification on which to ask for a restart with a
//                 registration run after it (service 14, "s14 ...")
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

struct CallRecord {
  uint32_t code;
  void* data;
  uint32_t runMode;
  int32_t answer;
  uint32_t reserved;
  void* host;
};

std::string Env(const char* name) {
  char buffer[1024];
  const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  return n && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

void Record(const std::string& line) {
  const std::string path = Env("KVX_RECORD");
  if (path.empty()) return;
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
  CloseHandle(file);
}

// Finds "code:answer[:z]" in KVX_ANSWERS.
bool ConfiguredAnswer(uint32_t code, int32_t* answer, bool* zeroReturn) {
  const std::string list = Env("KVX_ANSWERS");
  size_t at = 0;
  while (at < list.size()) {
    size_t end = list.find(',', at);
    if (end == std::string::npos) end = list.size();
    const std::string item = list.substr(at, end - at);
    at = end + 1;
    const size_t colon = item.find(':');
    if (colon == std::string::npos || std::strtoul(item.c_str(), nullptr, 10) != code) continue;
    *answer = int32_t(std::strtol(item.c_str() + colon + 1, nullptr, 10));
    *zeroReturn = item.find(":z") != std::string::npos;
    return true;
  }
  return false;
}

using Plain = intptr_t(__stdcall*)(void*);
using Text = intptr_t(__stdcall*)(void*, const char*, char*, int32_t);
using Pair = intptr_t(__stdcall*)(void*, const char*, const char*);
using Log = intptr_t(__stdcall*)(void*, uint32_t, int32_t, const char* const*);

void CallServices(void* host) {
  void* const* services = *static_cast<void* const* const*>(host);
  auto plain = [&](int i) { return reinterpret_cast<Plain>(services[i])(host); };
  Record("s0 " + std::to_string(plain(0)));
  Record("s2 " + std::to_string(plain(2)));
  Record("s3 " + std::to_string(plain(3)));
  Record("s4 " + std::to_string(plain(4)));
  Record("s7 " + std::to_string(reinterpret_cast<Pair>(services[7])(host, "KvxSymbol", "from dll")));
  char buffer[64] = "";
  const Text expand = reinterpret_cast<Text>(services[5]);
  intptr_t r = expand(host, "<AppTitle>/<KvxSymbol>", buffer, sizeof buffer);
  Record("s5 " + std::to_string(r) + " " + buffer);
  r = expand(host, "<AppTitle>", buffer, 4);
  Record("s5cut " + std::to_string(r) + " " + buffer);
  Record("s5null " + std::to_string(expand(host, "x", nullptr, 10)));
  const char* const args[] = {"one", "two"};
  Record("s12 " + std::to_string(reinterpret_cast<Log>(services[12])(host, 0x02AB0001, 2, args)));
  Record("s10 " + std::to_string(plain(10)));
}

}  // namespace

extern "C" int __stdcall VokHandler(CallRecord* record, void*) {
  Record("n " + std::to_string(record->code) + " " + std::to_string(record->runMode));
  const std::string services = Env("KVX_SERVICES");
  if (!services.empty() && std::strtoul(services.c_str(), nullptr, 10) == record->code)
    CallServices(record->host);
  const std::string registerOn = Env("KVX_REGISTER");
  if (!registerOn.empty() && std::strtoul(registerOn.c_str(), nullptr, 10) == record->code) {
    void* const* table = *static_cast<void* const* const*>(record->host);
    Record("s14 " + std::to_string(reinterpret_cast<Plain>(table[14])(record->host)));
  }
  int32_t answer = 0;
  bool zeroReturn = false;
  if (ConfiguredAnswer(record->code, &answer, &zeroReturn)) {
    record->answer = answer;
    return zeroReturn ? 0 : 1;
  }
  if (record->code == 0) {
    record->answer = 267;
    return 1;
  }
  return 0;
}

// Only so that the DLL without an entry point has an export at all.
extern "C" int __stdcall KvxOther(void) { return 0; }
