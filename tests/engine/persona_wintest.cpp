#include <windows.h>

#include <gtest/gtest.h>

#include "support/wine_persona.h"

// The suite wrapper's persona must reach the program: everything that tests
// 9x and NT paths depends on it.
TEST(Persona, ReachesGetVersionEx) {
  OSVERSIONINFOA vi = {};
  vi.dwOSVersionInfoSize = sizeof(vi);
  ASSERT_TRUE(GetVersionExA(&vi));
  const std::string p = kvtest::Persona();
  if (p == "win98") {
    EXPECT_EQ(vi.dwPlatformId, DWORD(VER_PLATFORM_WIN32_WINDOWS));
    EXPECT_EQ(vi.dwMinorVersion, 10u);
  } else if (p == "win2k") {
    EXPECT_EQ(vi.dwPlatformId, DWORD(VER_PLATFORM_WIN32_NT));
    EXPECT_EQ(vi.dwMajorVersion, 5u);
    EXPECT_EQ(vi.dwMinorVersion, 0u);
  } else if (p == "winxp") {
    EXPECT_EQ(vi.dwMajorVersion, 5u);
    EXPECT_EQ(vi.dwMinorVersion, 1u);
  }
}
