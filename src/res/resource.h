#pragma once
// Identifiers of the resource script: the dialog templates, each with its controls in a range
// of its own (dialog n uses n * 100 .. n * 100 + 99).

// Dialog templates.
#define IDD_CONFIG 10  // its pages are templates 1101..1107, all in configids.h
#define IDD_MOVEDATE 11
#define IDD_SEARCH 12
#define IDD_SYNC 13
#define IDD_PASTDELETE 14
#define IDD_URLINPUT 15
#define IDD_HINT 16

// The move-date dialog.
#define IDC_MOVEDATE_CMBFROM 1100
#define IDC_MOVEDATE_CMBDEST 1101

// The search dialog.
#define IDC_SEARCH_EDTSRCH 1200
#define IDC_SEARCH_RADSRCHUP 1201
#define IDC_SEARCH_RADSRCHDN 1202

// The synchronisation dialog (its 閉じる is IDCANCEL, so Escape closes it).
#define IDC_SYNC_LBLMSG 1300
#define IDC_SYNC_PROGRESS 1301
#define IDC_SYNC_BTNSYNC 1302
#define IDC_SYNC_LBLCOUNTS 1303

// The bulk-delete dialog.
#define IDC_PASTDELETE_CMBFROM 1400
#define IDC_PASTDELETE_CHKDONEONLY 1401

// The URL dialog.
#define IDC_URLINPUT_EDTURL 1500
#define IDC_URLINPUT_BTNPASTE 1501

// The attachment hint.
#define IDC_HINT_LBLHINT 1600
