// Program entry: no command line is read; the exit code is always 0.
#include <windows.h>

#include "kelvolite/app/single_instance.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunKelvolite(); }
