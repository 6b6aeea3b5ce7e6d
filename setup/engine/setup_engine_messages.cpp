#include "setup/engine/setup_engine_messages.h"

std::string EngineMessageText(uint32_t stringId, const std::string& argument) {
  const char* tail = nullptr;
  switch (stringId) {
    case kStrFileInUse:
      tail =
          "\n\nThis file cannot be installed; it may be in use.\n\nPlease close all other "
          "applications, then click Retry.\n\nAlternatively, click Cancel to skip this file and "
          "install\nit later. This will require a system restart.";
      break;
    case kStrFolderFailed:
      tail = "\n\nThere was a problem creating this folder.\n\nThe installation will be cancelled.";
      break;
    case kStrFileFailed:
      tail = "\n\nThere was a problem installing this file.\n\nThe installation will be cancelled.";
      break;
    case kStrRegisterFailed:
      tail = "\n\nThere was a problem registering this file.\n\nThe installation will be cancelled.";
      break;
    case kStrSaveFailed:
      tail = "\n\nThere was a problem saving the installation database.";
      break;
    case kStrPreviousDetected:
      tail =
          " detected.\n\nThis application must be uninstalled before continuing.\n\nClick OK to "
          "uninstall it now, or click Cancel to cancel the installation process.";
      break;
    case kStrWaitingForUninstall:
      return "Waiting for the uninstallation to finish...";
    case kStrScriptText:
      return argument;
    default:
      return "";
  }
  return argument + tail;
}
