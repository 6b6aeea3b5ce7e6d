// Resource ids of the framework tests' dialogs (ui_test.rc).
#pragma once

#define IDD_LOOK 100
#define IDD_PAGE_ONE 101
#define IDD_PAGE_TWO 102

#define IDT_TITLE 0xFC00
#define IDT_BOLD 0xFC10
#define IDT_NORMAL 0xFC20
#define IDT_DIALOG_FONT 0xFC30
#define IDT_ON_WINDOW 0xFD70
#define IDT_PLAIN 1004
#define IDT_LINK 1017
#define IDB_CHILD 1020
