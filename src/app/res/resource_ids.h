#pragma once
// Resource identifiers shared by kelmar.rc and the code.
#define IDI_KELMAR 1
#define IDB_SELFILE 101
#define IDB_SAVE 102
#define IDB_SAVEALL 103
#define IDB_HELP 104
#define IDB_UPDATE 105
#define IDC_HANDCURSOR 201
