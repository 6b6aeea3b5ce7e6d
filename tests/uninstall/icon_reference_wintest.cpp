// Icon references and product codes as the uninstall key writes them.
#include "kelvolite/uninstall/icon_reference.h"

#include <gtest/gtest.h>

namespace {

TEST(IconReference, SplitsFileAndIndex) {
  const struct {
    const char* reference;
    const char* file;
    int index;
  } cases[] = {
      {"C:\\App\\app.exe,2", "C:\\App\\app.exe", 2},
      {"C:\\App\\app.exe,x", "C:\\App\\app.exe", 0},   // not a number
      {"C:\\App\\app.exe,2x", "C:\\App\\app.exe", 0},  // not wholly a number
      {"C:\\App\\app.exe,-101", "C:\\App\\app.exe", -101},
      {"C:\\App\\app.exe", "C:\\App\\app.exe", 0},
      {"C:\\App\\app.exe,", "C:\\App\\app.exe", 0},
      {"C:\\App\\app.exe,1,2", "C:\\App\\app.exe", 0},
      {"C:\\App\\app.exe,99999999999", "C:\\App\\app.exe", 0},  // out of range
      {"\"C:\\My App\\app.exe\",3", "C:\\My App\\app.exe", 3},
      {"", "", 0},
  };
  for (const auto& c : cases) {
    const IconReference ref = SplitIconReference(c.reference);
    EXPECT_EQ(c.file, ref.file) << c.reference;
    EXPECT_EQ(c.index, ref.index) << c.reference;
  }
}

TEST(IconReference, PacksProductCodesAndFindsThemInKeyNames) {
  EXPECT_EQ("87654321DCBA10FE32547698BADCFE10", PackedProductCode("{12345678-ABCD-EF01-2345-6789ABCDEF01"));
  EXPECT_EQ("", PackedProductCode("{12345678-ABCD"));  // short text: no reading past its end

  const struct {
    const char* keyName;
    const char* code;
  } cases[] = {
      {"{12345678-ABCD-EF01-2345-6789ABCDEF01}", "{12345678-ABCD-EF01-2345-6789ABCDEF01"},
      {"Prefix{12345678-ABCD-EF01-2345-6789ABCDEF01}", "{12345678-ABCD-EF01-2345-6789ABCDEF01"},
      {"{12345678-ABCD}", ""},   // the right shape but too short
      {"{123456789ABCDEF}", ""}, // no hyphen after eight digits
      {"Plain Program", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.code, ProductCodeInKeyName(c.keyName)) << c.keyName;
}

}  // namespace
