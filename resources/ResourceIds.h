/* Resource identifiers shared by the resource script and the code. Plain
   defines, because the resource compiler reads this file too. */
#ifndef LUMRA_RESOURCE_IDS_H
#define LUMRA_RESOURCE_IDS_H

#define IDI_SAVER_ICON 102
#define IDD_SAVER_SETUP 103
#define IDB_GLOW 104
#define IDB_SECOND_GLOW 114

#define IDC_MOVING 1004
#define IDC_ATTRACTIVE 1005
#define IDC_FLOOR 1006
#define IDC_MUSIC_FILE 1032
#define IDC_MUSIC 1033
#define IDC_CHOOSE_MUSIC 1034
#define IDC_NUMBER 1036

#define IDS_DESCRIPTION 1
#define IDS_CREDIT 2

#endif
