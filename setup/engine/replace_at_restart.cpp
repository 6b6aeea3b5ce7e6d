#include "setup/engine/replace_at_restart.h"

#include "setup/engine/script.h"

void AddWininitRename(SetupScript& wininit, const std::string& key, const std::string& value) {
  wininit.Section("rename", true)->Append(key, value);
}
