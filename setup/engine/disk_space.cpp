#include "setup/engine/disk_space.h"

std::string DiskRootOf(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2) + "\\";
  if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
    const size_t server = path.find('\\', 2);
    if (server == std::string::npos || server == 2) return "";
    const size_t share = path.find('\\', server + 1);
    if (share == server + 1) return "";
    return (share == std::string::npos ? path : path.substr(0, share)) + "\\";
  }
  return "";
}
