// One copy of the program at a time: a second copy brings the first to the
// front and ends.
#pragma once

// The title a running copy's application window carries once its main
// window exists.
extern const char kRunningTitle[];

// Creates the single-instance mutex; false when another copy holds it.
bool IsFirstInstance();
// Brings the running copy's application window (and its main window) to
// the front, also when it sits in the notification area.
void ActivateRunningInstance();
// The whole program: returns the process exit code (always 0).
int RunKelvolite();
