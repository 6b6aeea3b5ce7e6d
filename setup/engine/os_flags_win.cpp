#include "setup/engine/os_flags.h"

#include "setup/app/system_info.h"

uint32_t RunningOsFlag() {
  static const uint32_t flag = [] {
    int serviceLevel = 0;
    return OsFlagForSystemClass(SystemClassOf(&serviceLevel));
  }();
  return flag;
}
