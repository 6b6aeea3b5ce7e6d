#include "kelvolite/app/single_instance.h"

#include <windows.h>

#include "kelvolite/app/main_form.h"
#include "kelvolite/forms/application.h"

const char kRunningTitle[] = "Kelvo Remover 2004 Lite";

bool IsFirstInstance() {
  // Never released nor closed: the system frees it when the process ends.
  CreateMutexA(nullptr, TRUE, "SINGLEINSTANCE_TEST_WRITED_BY_PLNQ_20010620");
  return GetLastError() != ERROR_ALREADY_EXISTS;
}

void ActivateRunningInstance() {
  HWND app = FindWindowA("TApplication", kRunningTitle);
  if (!app) return;
  if (IsIconic(app)) ShowWindow(app, SW_SHOWDEFAULT);
  SetForegroundWindow(app);
  HWND popup = GetLastActivePopup(app);
  if (popup && popup != app) BringWindowToTop(popup);
}

int RunKelvolite() {
  TApplication app;
  try {
    app.Initialize();
    app.SetTitle("Kelvo Remover");
    if (!IsFirstInstance()) {
      ActivateRunningInstance();
      return 0;
    }
    app.CreateForm<TForm1>();
    app.SetTitle(kRunningTitle);
    app.Run();
  } catch (const Exception& e) {
    app.ShowException(e);
  }
  return 0;
}
