// Resource and control ids of the install wizard, the About box and the
// removal dialog. Plain defines: the resource compiler reads this file too.
// Ids from 0xF000 carry their look (font, colours) in their bits, see
// control_style_ids.h.
#pragma once

// Dialog templates.
#define IDD_ABOUT 1
#define IDD_WELCOME 64
#define IDD_README 65
#define IDD_LICENCE 66
#define IDD_OPTIONS 68
#define IDD_PROGRESS 69
#define IDD_COMPLETED 70
#define IDD_CANCELLED 71
#define IDD_UNINSTALL 72

// Bitmaps: the wizard's side panel and header band.
#define IDB_WIZARD1 1
#define IDB_WIZARD2 2

// Shared by the pages.
#define IDC_SIDE_BITMAP 1001     // welcome, completed and cancelled pages
#define IDC_HEADER_BITMAP 1027   // the header band of the other pages
#define IDT_PAGE_TITLE 64512     // title font; "%s" is the application title
#define IDT_PAGE_TEXT 64567      // dialog font; "%s" is the application title
#define IDC_WHITE_PANEL 61808    // opaque window-coloured background, no text

// Welcome page.
#define IDL_WEB_SITE 1017
#define IDL_EMAIL 1018
#define IDT_COMPANY 64574
#define IDT_COPYRIGHT 64528
#define IDT_WEB_SITE_LABEL 64561
#define IDT_EMAIL_LABEL 64562
#define IDT_TELEPHONE_LABEL 64563
#define IDT_TELEPHONE 64564

// Readme and licence pages.
#define IDE_PAGE_TEXT 64880

// Options page.
#define IDE_FOLDER 1002
#define IDB_BROWSE 1003
#define IDT_SPACE_REQUIRED 1004
#define IDT_SPACE_AVAILABLE 1005
#define IDB_DEFAULT 1006
#define IDX_DESKTOP 1028
#define IDX_START_MENU 1029
#define IDX_PROGRAMS_MENU 1030

// Progress page and the removal dialog.
#define IDX_FIRST_STEP 1007
#define IDC_PROGRESS_BAR 1012
#define IDT_STATUS 1013
#define IDC_RUN_INSTALLATION 1014  // private command: start the work
#define IDT_UNINSTALL_PROMPT 1015
#define IDT_UNINSTALL_DONE 1016

// Completed and cancelled pages.
#define IDT_RESTART_QUESTION 64568
#define IDR_RESTART_NOW 64569
#define IDR_RESTART_LATER 64570
#define IDX_START_APPLICATION 64571
#define IDX_SHOW_README 64572
#define IDT_REMOVE_QUESTION 64571
#define IDR_REMOVE_PARTIAL 64572
#define IDR_KEEP_PARTIAL 64573

// The sheet's extra button.
#define IDB_ABOUT 57664

// About box.
#define IDT_ABOUT_VERSION 101
#define IDL_ABOUT_MAKER_SITE 102
#define IDL_ABOUT_WEB_SITE 104
#define IDL_ABOUT_EMAIL 105
#define IDT_ABOUT_TITLE 62464
#define IDT_ABOUT_COMPANY 62512
#define IDT_ABOUT_WEB_SITE_LABEL 62514
#define IDT_ABOUT_EMAIL_LABEL 62515
#define IDT_ABOUT_COPYRIGHT 62516
#define IDT_ABOUT_TELEPHONE_LABEL 62517
#define IDT_ABOUT_TELEPHONE 62518
#define IDT_ABOUT_DESCRIPTION 64528
#define IDT_ABOUT_MAKER_COPYRIGHT 63440

// Strings of the wizard.
#define IDS_BACK 64
#define IDS_NEXT 65
#define IDS_CANCEL 66
#define IDS_FINISH 67
#define IDS_INSTALL 68
#define IDS_AGREE 69
#define IDS_ABOUT 70
#define IDS_HELP 71
#define IDS_BROWSE_TITLE 72
#define IDS_NEEDS_ADMINISTRATOR 129
#define IDS_NOT_A_HARD_DISK 135
#define IDS_NOT_ENOUGH_SPACE 136
#define IDS_CANCEL_INSTALLATION 137
#define IDS_REQUIREMENTS 138
#define IDS_UNSUPPORTED_WINDOWS 142
