// Ids of the main dialog and its controls, written only here: res/resources.json
// names them, and scripts/gen_resources.py reads their numbers from this file.
#ifndef LUMIVAR_RES_MAIN_DIALOG_IDS_H
#define LUMIVAR_RES_MAIN_DIALOG_IDS_H

#define IDD_LUMIVAR_DIALOG 102

// Push buttons. 1 and 2 are the dialog's OK and Cancel ids.
#define IDC_ARM 1              // "定时关机"
#define IDC_HIDDEN_CANCEL 2    // hidden; carries the dialog's Cancel id
#define IDC_SET_DEFAULT_WORK 3 // "设置为默认值" beside IDC_TIME_WORK
#define IDC_SET_DEFAULT_REST 4 // beside IDC_TIME_REST
#define IDC_SET_DEFAULT_USER 5 // beside IDC_TIME_USER
#define IDC_REFRESH_TOGGLE 6   // "停止刷新/系统时间"
#define IDC_CANCEL_POWER_OFF 7 // "取消关机"
#define IDC_SEND_TO_TRAY 8     // hidden
#define IDC_INSTRUCTIONS 1016  // "说明"

// Mode radio buttons; their ids are also the stored mode values.
#define IDC_MODE_WORK 1000
#define IDC_MODE_REST 1001
#define IDC_MODE_USER 1006
#define IDC_MODE_FIRST IDC_MODE_WORK
#define IDC_MODE_LAST IDC_MODE_USER

// Time pickers, one per slot.
#define IDC_TIME_WORK 1002
#define IDC_TIME_REST 1003
#define IDC_TIME_USER 1007

#define IDC_DATE_TIME_TEXT 1005
#define IDC_UPTIME_TEXT 1008
#define IDC_REFRESH_PERIOD 1009
#define IDC_REFRESH_SPIN 1010
#define IDC_NOTICE_CHECK 1014

#endif
