// The About box (dialog 1): the application's maker and contact lines, and
// the installer's own version and copyright.
#pragma once
#include <windows.h>

class SetupEngine;

// Modal, owned by owner. The application title comes from the
// application object.
void ShowAboutBox(SetupEngine& engine, HWND owner);
