#include "setup/engine/shortcut_item.h"

#include "setup/engine/script.h"
#include "setup/engine/script_load.h"

ShortcutItem ReadShortcutItem(const ScriptSection& s) {
  ShortcutItem item;
  item.title = s.GetText("Title");
  item.description = s.GetText("Description");
  item.path = s.GetText("Path");
  item.workDir = s.GetText("WorkDir");
  item.arguments = s.GetText("Arguments");
  item.customDir = s.GetText("CustomDir");
  item.iconPath = s.GetText("IconPath");
  item.iconIndex = s.GetInt("IconIndex", 0);
  item.showCmd = s.GetInt("ShowCmd", 1);
  item.locations = s.GetUInt("Locations", 0);
  return item;
}

std::vector<ScriptSection*> ShortcutSections(SetupScript& script) {
  std::vector<ScriptSection*> sections;
  ScriptGroup& main = script.Main();
  for (ScriptSection* s = main.FindSection("ShellLink"); s; s = main.NextSection(s))
    sections.push_back(s);
  return sections;
}

uint32_t ShortcutChoices(SetupScript& script) {
  uint32_t choices = 0;
  for (ScriptSection* s : ShortcutSections(script)) choices |= s->GetUInt("Locations", 0);
  return choices & kLinkUserChoices;
}

bool CheckShortcutSection(const ScriptSection& section, ScriptLoadFailure* failure) {
  if (!section.GetText("Path").empty()) return true;
  if (failure) {
    failure->line = section.line;
    failure->detail = "[ShellLink] section without Path";
  }
  return false;
}

std::vector<ShortcutLocation> ShortcutFolders(uint32_t locations, uint32_t userMask,
                                              bool haveProgramGroup, bool haveCustomDir) {
  std::vector<ShortcutLocation> folders;
  if ((locations & kLinkProgramGroup) && haveProgramGroup) folders.push_back(kLinkProgramGroup);
  for (ShortcutLocation bit : {kLinkPrograms, kLinkStartMenu, kLinkDesktop}) {
    if (locations & userMask & bit) folders.push_back(bit);
  }
  if ((locations & kLinkCustomDir) && haveCustomDir) folders.push_back(kLinkCustomDir);
  return folders;
}
