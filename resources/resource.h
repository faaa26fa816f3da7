// Resource and command ids of the main program.
#pragma once

#define IDR_MAINFRAME           128   // menu, toolbar, accelerators, icon, template string
#define IDR_ONDAVTYPE           129   // document icon
#define IDD_ABOUTBOX            100
#define IDB_SPLASH              104
#define IDB_LOGO                136
#define IDD_BACKCOLOR           140
#define IDB_SWATCH_FIRST        141   // 141 to 148, one per background colour
#define IDC_COLOR_FIRST         1008  // 1008 to 1015, the colour radio buttons
#define IDR_HELPTEXT            150   // the help's topics, UTF-8 text with a small markup

// Texts of the help window.
#define IDS_HELP_CONTENTS       200
#define IDS_HELP_INDEX          201
#define IDS_HELP_BACK           202

// Texts of the measures window.
#define IDS_MEASURE_TITLE       210
#define IDS_MEASURE_HEAD_NAME   211
#define IDS_MEASURE_HEAD_RIGHT  212
#define IDS_MEASURE_HEAD_LEFT   213
#define IDS_MEASURE_NOTE        214
#define IDS_MEASURE_AXIS        215
#define IDS_MEASURE_LINEAR      216
#define IDS_MEASURE_LOG         217
#define IDS_MEASURE_SPECTRUM    218
#define IDS_MEASURE_ROW_FIRST   220   // 220 to 230, one per readout

// Status-bar panes of the date and the time.
#define ID_INDICATOR_DATE       102
#define ID_INDICATOR_TIME       103

// The program's own commands.
#define ID_MESURE_MARCHE        32771
#define ID_MESURE_ARRET         32772
#define ID_MODE_DECALEES        32773
#define ID_MODE_SUPERPOSEES     32774
#define ID_MODE_SOMME           32775
#define ID_MODE_DIFFERENCE      32776
#define ID_MODE_LISSAJOUS       32777
#define ID_MODE_VUMETRES        32778
#define ID_MODE_BARGRAPHES      32779
#define ID_REGLAGE_CARTESON     32780
#define ID_BASE_50MS            32781
#define ID_BASE_20MS            32782
#define ID_BASE_10MS            32783
#define ID_BASE_5MS             32784
#define ID_BASE_2MS             32785
#define ID_BASE_1MS             32786
#define ID_BASE_05MS            32787
#define ID_BASE_02MS            32788
#define ID_RAFR_LENT            32789
#define ID_RAFR_MOYEN           32790
#define ID_RAFR_RAPIDE          32791
#define ID_GAIN_X1              32792
#define ID_GAIN_X2              32793
#define ID_GAIN_X5              32794
#define ID_ECHELLE_DB           32795
#define ID_ECHELLE_LIN          32796
#define ID_ECHELLE_DROITE       32797
#define ID_ECHELLE_GAUCHE       32798
#define ID_OPTIONS_COULEUR      32822
#define ID_AFFICHAGE_GRILLE     32823
#define ID_AFFICHAGE_MESURES    32825

// Help ids of the boxes that no command opens: F1 in the box shows its topic.
#define IDH_MSG_OUVERTURE_AUDIO 0x20001
#define IDH_MSG_INTERFACE_SON   0x20002
#define IDH_MSG_REFUS_MESURE    0x20003
#define IDH_MSG_INI_DISPARU     0x20004
#define ID_FILE_EXPORT          32824

// Exchange with other programs: WAV in and out, CSV out.
#define IDS_EXPORT_FILTERS      420
#define IDS_EXPORT_FAILED       421
#define IDS_CSV_HEADER          422
#define IDS_WAV_FAILED          423
#define IDS_WAV_SHORT           424
#define IDS_WAV_NOT_REPLACED    425
#define IDS_WAV_REASON_BASE     430     // + each reason a WAV file is refused
