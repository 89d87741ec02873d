#pragma once
// Resource identifiers shared by kelmar.rc and the code.
#define IDI_KELMAR 1
#define IDB_SELFILE 101
#define IDB_SAVE 102
#define IDB_SAVEALL 103
#define IDB_HELP 104
#define IDB_UPDATE 105
// The same pictures drawn at 27 and 36 pixels (150 and 200 %): the 18-pixel
// one's identifier plus IDB_GLYPHS_27 or IDB_GLYPHS_36.
#define IDB_GLYPHS_27 10
#define IDB_GLYPHS_36 20
#define IDB_SELFILE_27 111
#define IDB_SAVE_27 112
#define IDB_SAVEALL_27 113
#define IDB_HELP_27 114
#define IDB_UPDATE_27 115
#define IDB_SELFILE_36 121
#define IDB_SAVE_36 122
#define IDB_SAVEALL_36 123
#define IDB_HELP_36 124
#define IDB_UPDATE_36 125
#define IDC_HANDCURSOR 201
