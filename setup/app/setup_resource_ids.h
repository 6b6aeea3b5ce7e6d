// Resource ids of setup's own windows (language and password prompts, the
// quiet run's progress window) and of the messages the application object
// and the engine show. Plain defines: the resource compiler reads this
// file too. The wizard's ids are in setup/ui/wizard_ids.h.
#pragma once

#define IDI_SETUP 1
#define IDR_QEXDEL 1  // RCDATA: the self-delete helper

#define IDD_LANGUAGE 2
#define IDL_LANGUAGES 201

#define IDD_PASSWORD 3
#define IDE_PASSWORD 301

#define IDD_PROGRESS_WINDOW 73
#define IDC_PROGRESS_ICON 1001
#define IDC_PROGRESS_WINDOW_BAR 1012
#define IDT_PROGRESS_WINDOW_STATUS 1013
#define IDT_PROGRESS_WINDOW_TEXT 64567  // dialog font; "%s" is the title

// Messages; the wizard's own (129, 135-138, 142) are with the wizard.
#define IDS_FILE_IN_USE 128
#define IDS_FOLDER_CACHE 130
#define IDS_BAD_DATABASE 131
#define IDS_SAVE_FAILED 133
#define IDS_FOLDER_FAILED 139
#define IDS_FILE_FAILED 140
#define IDS_REGISTER_FAILED 141
#define IDS_APPLICATION_ACTIVE 143
#define IDS_PREVIOUS_DETECTED 144
#define IDS_WAITING_FOR_UNINSTALL 145
