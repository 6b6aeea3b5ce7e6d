// Resource ids of kelvolite. Bitmaps are named after their files (image lists
// after the component they fill), so the code loads them by those names.
#pragma once

#define IDI_KELVOLITE 1
