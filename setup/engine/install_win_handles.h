// Kept only for setup/app/program_launch_win.cpp until it includes
// win_handles.h itself.
#pragma once

#include "setup/engine/win_handles.h"
