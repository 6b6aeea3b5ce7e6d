// [ShellLink] sections: one shortcut each, read straight from the script
// section so that expanded values are written back into its own keys.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ScriptSection;
class SetupScript;
struct ScriptLoadFailure;

// Locations bits: where a shortcut goes.
enum ShortcutLocation : uint32_t {
  kLinkDesktop = 0x1,
  kLinkStartMenu = 0x2,
  kLinkPrograms = 0x4,
  kLinkUserChoices = 0x7,  // the options page's three check boxes
  kLinkProgramGroup = 0x100,
  kLinkCustomDir = 0x200,
};

struct ShortcutItem {
  std::string title, description, path, workDir, arguments, customDir, iconPath;
  int32_t iconIndex = 0;
  int32_t showCmd = 1;
  uint32_t locations = 0;
};

ShortcutItem ReadShortcutItem(const ScriptSection& section);
// Every [ShellLink] section in script order.
std::vector<ScriptSection*> ShortcutSections(SetupScript& script);
// The options page's initial choice: the OR of every shortcut's Locations
// (its three user bits); also the choice of quiet runs.
uint32_t ShortcutChoices(SetupScript& script);

// A section needs a Path as well as a Title.
bool CheckShortcutSection(const ScriptSection& section, ScriptLoadFailure* failure);

// The folders to create one shortcut in, in creation order: program group,
// Programs, Start menu, Desktop, custom folder. A user bit counts only when
// userMask has it too; the group only when there is one, the custom folder
// only when it is named.
std::vector<ShortcutLocation> ShortcutFolders(uint32_t locations, uint32_t userMask,
                                              bool haveProgramGroup, bool haveCustomDir);
