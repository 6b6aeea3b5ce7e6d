// setup's command line: splitting the process command line into arguments
// and reading the switches. Portable.
//
//   /B<n>                restart mode (0 never, 1 when required, 2 always)
//   /P:<text>            archive password
//   /Q[<n>]              quiet level (1 without a number)
//   /U<n>[:<name>]       upgrade removal level and the previous uninstall name
//   /X                   roll back a failed installation without asking
//   /install[:<folder>]  install (the first 7 letters are compared)
//   /remove, /register   remove, finish registrations after a restart
//   anything else        the script or archive path
#pragma once

#include <string>
#include <vector>

// At most this many entries: 63 arguments with the program name, then the
// end marker.
constexpr size_t kMaxArgumentEntries = 64;
constexpr size_t kMaxArguments = kMaxArgumentEntries - 1;

// Splits at white space (tab, line feed, vertical tab, form feed, carriage
// return, backspace, space). An argument that begins with ", ' or ` runs
// to the next occurrence of that same character, which is dropped; an
// unclosed quote runs to the end. Arguments past kMaxArguments are dropped.
std::vector<std::string> SplitArguments(const char* commandLine);

// What follows the program name (the first argument), white space skipped.
std::string ArgumentsAfterProgram(const char* commandLine);

enum RunMode { kRunAuto = 0, kRunInstall = 1, kRunRemove = 2, kRunRegister = 3 };

struct CommandLine {
  int restartMode = 1;
  std::string password;
  int quietLevel = 0;
  int upgradeLevel = -1;
  std::string previousUninstallName;
  bool rollback = false;
  RunMode runMode = kRunAuto;
  std::string folderArgument;
  std::string scriptPath;
};

// Reads the arguments after the program name in order; a later one
// overrides an earlier one of its kind, unknown switches are ignored.
void ReadArgument(const std::string& argument, CommandLine& settings);
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);
// The same from the text after the program name.
CommandLine ParseCommandLine(const char* arguments);

// Decimal with optional white space and sign first; reading stops at the
// first non-digit, no digits give 0.
int ReadSwitchNumber(const char* text, const char** end = nullptr);
