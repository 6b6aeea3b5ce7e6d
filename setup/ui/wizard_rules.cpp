#include "setup/ui/wizard_rules.h"

#include <cctype>
#include <cstdio>

#include "setup/engine/install_options.h"
#include "setup/engine/script_text.h"

std::string FillText(const std::string& format, std::initializer_list<std::string> args) {
  std::string out;
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == 's') {
        if (next != args.end()) out += *next++;
        ++i;
        continue;
      }
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

std::string KilobyteText(uint64_t bytes) {
  const uint64_t kb = bytes / 1024 + (bytes % 1024 ? 1 : 0);
  return std::to_string(kb) + " KB";
}

namespace {

std::string LastComponent(const std::string& path) {
  std::string p = path;
  while (!p.empty() && (p.back() == '\\' || p.back() == '/')) p.pop_back();
  const size_t slash = p.find_last_of("\\/:");
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

std::string BrowsedFolder(const std::string& picked, const std::string& defaultFolder) {
  const std::string last = LastComponent(defaultFolder);
  if (last.empty() || SameText(LastComponent(picked), last)) return picked;
  std::string folder = picked;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder + last;
}

Requirements ReadRequirements(const InstallSettings& install) {
  Requirements r;
  const auto hardware = scripttext::SplitFields(install.hardware);
  if (hardware.size() >= 3) {
    r.width = scripttext::ParseInt(hardware[0]);
    r.height = scripttext::ParseInt(hardware[1]);
    r.colourBits = scripttext::ParseInt(hardware[2]);
  }
  const auto software = scripttext::SplitFields(install.software);
  if (software.size() >= 7) {
    r.hasServiceLevels = true;
    for (int i = 0; i < 7; ++i) r.serviceLevels[i] = scripttext::ParseInt(software[i]);
  }
  r.browser = static_cast<uint32_t>(install.ie);
  return r;
}

namespace {

bool ClassExcluded(const Requirements& required, int systemClass) {
  if (systemClass < 0 || systemClass > 6) return true;
  return required.hasServiceLevels && required.serviceLevels[systemClass] < 0;
}

std::string VersionText(uint32_t v) {
  char text[32];
  std::snprintf(text, sizeof(text), "%u.%02u", unsigned(v >> 16), unsigned(v & 0xFFFF));
  return text;
}

std::string DisplayText(int width, int height, int bits) {
  char text[48];
  std::snprintf(text, sizeof(text), "%d x %d x %d", width, height, bits);
  return text;
}

}  // namespace

bool MeetsRequirements(const Requirements& required, const SystemMeasure& system) {
  if (ClassExcluded(required, system.systemClass)) return false;
  if (required.hasServiceLevels && system.serviceLevel < required.serviceLevels[system.systemClass])
    return false;
  if (required.browser != 0 && system.browser < required.browser) return false;
  return system.width >= required.width && system.height >= required.height &&
         system.colourBits >= required.colourBits;
}

std::string RequirementsMessage(const std::string& format, const std::string& title,
                                const Requirements& required, const SystemMeasure& system,
                                const std::string& unsupportedText) {
  static const char* const kClassNames[7] = {"95", "98", "Me", "NT4", "2000", "XP", "Future"};
  std::string requiredSystem;
  if (ClassExcluded(required, system.systemClass)) {
    requiredSystem = unsupportedText;
  } else {
    requiredSystem = std::string("Windows ") + kClassNames[system.systemClass];
    const int level = required.hasServiceLevels ? required.serviceLevels[system.systemClass] : 0;
    if (level > 0) requiredSystem += " SP " + std::to_string(level);
  }
  return FillText(format, {system.systemName, VersionText(system.browser),
                           DisplayText(system.width, system.height, system.colourBits), title,
                           requiredSystem, VersionText(required.browser),
                           DisplayText(required.width, required.height, required.colourBits)});
}
