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
