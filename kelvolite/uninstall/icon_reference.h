// Icon references of the uninstall key and the Windows Installer product
// codes that name its keys. No Windows headers: plain text work.
#pragma once
#include <string>

struct IconReference {
  std::string file;
  int index = 0;
};

// "file[,index]": the text before the first comma is the file (surrounding
// quotes removed), the rest a decimal index that may be negative; text that
// is not a number gives 0.
IconReference SplitIconReference(const std::string& reference);

// The Installer's packed form of a product code: from the 37 characters
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" (no closing brace) the 32
// characters of its groups, each group reversed. Empty for a shorter text.
std::string PackedProductCode(const std::string& guid);

// The 37 characters of a product code in an uninstall key name ("{" with a
// "-" nine places after it), or empty when the name has none.
std::string ProductCodeInKeyName(const std::string& keyName);
