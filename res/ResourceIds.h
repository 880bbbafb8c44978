// Ids of the program's resources other than the main dialog's controls,
// written only here, as MainDialogIds.h's.
#ifndef LUMIVAR_RES_RESOURCE_IDS_H
#define LUMIVAR_RES_RESOURCE_IDS_H

#include "MainDialogIds.h"

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101 // text of the About item in the system menu
#define IDI_LUMIVAR 128  // application icon: window, tray, About box
#define IDD_SHOW 132     // countdown notice window
#define IDB_NOTICE 133   // countdown notice picture
#define IDR_TRAY_MENU 136

// System-menu command of the About item; its low four bits must stay zero.
#define IDM_ABOUTBOX 0x0010

// Tray menu commands
#define ID_TRAY_SHOW 32771
#define ID_TRAY_ABOUT 32772
#define ID_TRAY_EXIT 32773

// Notification-area icon id: the main dialog's template id
#define IDC_TRAY_ICON IDD_LUMIVAR_DIALOG

#endif
