// The package refuses users without administrator rights on the NT family
// (message 129, exit code 10). Wine runs every program with an
// administrator's token and cannot start one as a limited user, so what
// can be checked here is the other half of the rule: the package asks for
// the rights, setup carries the message, and an administrator passes.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "e2e/package_fixture.h"

namespace e2e {
namespace {

TEST(AdministratorCheck, ThePackageAsksForTheRightsAndSetupCarriesMessage129) {
  std::ifstream script(KV_PACKAGE_DIR "/Setup.ini");
  std::string line, options;
  while (std::getline(script, line))
    if (line.rfind("Options=", 0) == 0) options = line.substr(8);
  ASSERT_FALSE(options.empty());
  EXPECT_NE(std::stoul(options) & 0x2, 0u) << "Options=" << options;

  HMODULE setup = LoadLibraryExA(StubPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(setup, nullptr);
  char text[512] = {};
  LoadStringA(setup, 129, text, sizeof text);
  FreeLibrary(setup);
  EXPECT_STREQ(text,
               "This installation requires Administrator rights.\n\nPlease cancel the installation, "
               "log on as a user with\nAdministrator rights, then restart the program.");
}

}  // namespace
}  // namespace e2e
