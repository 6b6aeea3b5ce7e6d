// The closing question of a cleaning run: restart now so that the entries
// in use are deleted.
#include "kelvolite/privacy/restart.h"

#include "kelvolite/app/main_form.h"
#include "kelvolite/controls/message_box.h"
#include "kelvolite/controls/system_error.h"
#include "kelvolite/forms/win_handle.h"

ExitWindowsFunction RestartWindowsCall = &ExitWindowsEx;

void TForm1::AskRestart() {
  if (ShowMessageBox(this,
                     "All that files which are in use \nwill be deleted after restart!\nDo you want to restart the "
                     "computer now?",
                     "Information", mbkYesNo) != mrYes)
    return;
#ifdef KV_BUILD_NT
  // Restarting needs the shutdown privilege, which a process holds but has
  // not enabled.
  TWinHandle token;
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Receive()) ||
      !LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid) ||
      !AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr) ||
      !RestartWindowsCall(EWX_REBOOT, 0))
    ShowSystemError(GetLastError());
#else
  RestartWindowsCall(EWX_REBOOT, 0);
#endif
}
