// The questions and notices the engine shows. The engine formats its
// default text; the user interface may show its own string-table text for
// the same id instead. Quiet runs never reach this interface.
#pragma once

#include <cstdint>
#include <string>

enum EngineStringId : uint32_t {
  kStrFileInUse = 128,        // Retry / Cancel
  kStrFolderFailed = 139,
  kStrFileFailed = 140,
  kStrRegisterFailed = 141,
  kStrSaveFailed = 133,
  kStrPreviousDetected = 144,  // OK / Cancel
  kStrWaitingForUninstall = 145,
  kStrScriptText = 0,  // a text the script gives (an [Action] Prompt): the argument itself
};

enum class MessageKind { kNotice, kRetryCancel, kOkCancel, kYesNo };
enum MessageAnswer { kAnswerOk = 1, kAnswerCancel = 2, kAnswerRetry = 4, kAnswerYes = 6, kAnswerNo = 7 };

class EngineMessages {
 public:
  virtual ~EngineMessages() = default;
  // argument: what the %s of the string names (a file or folder).
  virtual int Show(uint32_t stringId, const std::string& argument, const std::string& text,
                   MessageKind kind) = 0;
};

// The engine's own text of a string id with its argument; "" for an id it
// does not know.
std::string EngineMessageText(uint32_t stringId, const std::string& argument);
