#include "setup/ui/application_base.h"
#include "setup/ui/window_services.h"

namespace {

HMODULE ProgramModule() {
  ApplicationBase* app = ApplicationBase::Instance();
  return app && app->moduleHandle ? app->moduleHandle : GetModuleHandleA(nullptr);
}

HMODULE ResourceModule() {
  ApplicationBase* app = ApplicationBase::Instance();
  return app && app->resourceModule ? app->resourceModule : ProgramModule();
}

}  // namespace

HMODULE FindResourceModule(const char* type, const char* name) {
  HMODULE first = ResourceModule();
  if (FindResourceA(first, name, type))
    return first;
  HMODULE program = ProgramModule();
  if (program != first && FindResourceA(program, name, type))
    return program;
  return nullptr;
}

bool LoadStringText(UINT id, std::string& text) {
  char buffer[1024];
  int n = LoadStringA(ResourceModule(), id, buffer, sizeof(buffer));
  if (n <= 0 && ProgramModule() != ResourceModule())
    n = LoadStringA(ProgramModule(), id, buffer, sizeof(buffer));
  if (n <= 0)
    return false;
  text.assign(buffer, n);
  return true;
}

std::string LoadStringText(UINT id) {
  std::string text;
  LoadStringText(id, text);
  return text;
}

HCURSOR LoadCursorResource(const char* id) {
  HCURSOR cursor = LoadCursorA(ResourceModule(), id);
  if (!cursor && ProgramModule() != ResourceModule())
    cursor = LoadCursorA(ProgramModule(), id);
  return cursor;
}
