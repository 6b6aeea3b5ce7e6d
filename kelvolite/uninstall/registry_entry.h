// TPRegistryEntry: one installed program as the uninstall list shows it; the
// row it is attached to owns it.
#pragma once
#include <string>

#include "kelvolite/forms/types.h"

class TPRegistryEntry : public TObject {
public:
  TPRegistryEntry(const std::string& keyName, const std::string& displayName, const std::string& uninstallString)
      : keyName_(keyName), displayName_(displayName), uninstallString_(uninstallString) {}

  // Name of the program's subkey under the uninstall key.
  const std::string& KeyName() const { return keyName_; }
  const std::string& DisplayName() const { return displayName_; }
  const std::string& UninstallString() const { return uninstallString_; }
  const std::string& Publisher() const { return publisher_; }
  void SetPublisher(const std::string& value) { publisher_ = value; }
  const std::string& DisplayVersion() const { return displayVersion_; }
  void SetDisplayVersion(const std::string& value) { displayVersion_ = value; }
  // 0: no icon found; 1: phantom; 2 and up: the program's own icon.
  int IconIndex() const { return iconIndex_; }
  void SetIconIndex(int value) { iconIndex_ = value; }

private:
  std::string keyName_, displayName_, uninstallString_;
  std::string publisher_, displayVersion_;
  int iconIndex_ = 0;
};

// Picture indices of both uninstall image lists.
constexpr int kNoIconPicture = 0, kPhantomPicture = 1;
