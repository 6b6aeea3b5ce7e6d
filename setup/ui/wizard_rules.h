// The wizard's decisions that need no window: filling "%s" texts, the
// kilobyte display, the folder the Browse button yields, and the system
// requirement check with the texts of its message.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

struct InstallSettings;

// Replaces each "%s" of format, in order, by the next argument ("%%"
// gives "%"). A translated text with more "%s" than arguments gets empty
// ones; nothing is read from outside the arguments.
std::string FillText(const std::string& format, std::initializer_list<std::string> args);

// Bytes rounded up to whole kilobytes with " KB": 0 -> "0 KB", 1 -> "1 KB".
std::string KilobyteText(uint64_t bytes);

// The folder after Browse: the default folder's last component is added
// to the picked folder unless that already ends in it (case-insensitive).
// "D:\Apps" with default "C:\Program Files\Maker\Tool" -> "D:\Apps\Tool".
std::string BrowsedFolder(const std::string& picked, const std::string& defaultFolder);

// The minimums of [Install] Hardware, Software and IE.
struct Requirements {
  int width = 0, height = 0, colourBits = 0;
  bool hasServiceLevels = false;
  int serviceLevels[7] = {0, 0, 0, 0, 0, 0, 0};  // per system class; -1 excludes it
  uint32_t browser = 0;                           // high word major, low word minor
};
Requirements ReadRequirements(const InstallSettings& install);

// What the running system offers.
struct SystemMeasure {
  int systemClass = -1;  // SystemClass, -1 unknown
  int serviceLevel = 0;
  std::string systemName;  // as the log and message 138 show it
  uint32_t browser = 0;    // most significant half of shdocvw.dll's file version
  int width = 0, height = 0, colourBits = 0;
};

bool MeetsRequirements(const Requirements& required, const SystemMeasure& system);

// Message 138 filled in: the system, its browser and display, the title,
// then the required system (unsupportedText when the class is unknown or
// excluded), browser and display.
std::string RequirementsMessage(const std::string& format, const std::string& title,
                                const Requirements& required, const SystemMeasure& system,
                                const std::string& unsupportedText);
