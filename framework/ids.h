// Standard command, string and control ids of the framework. Programs give
// these ids their resources (menu items, prompts, indicator texts).
#pragma once

// File commands.
#define ID_FILE_NEW            0xE100  // 57600
#define ID_FILE_OPEN           0xE101
#define ID_FILE_CLOSE          0xE102
#define ID_FILE_SAVE           0xE103
#define ID_FILE_SAVE_AS        0xE104
#define ID_FILE_PAGE_SETUP     0xE105
#define ID_FILE_PRINT_SETUP    0xE106  // 57606
#define ID_FILE_PRINT          0xE107  // 57607
#define ID_FILE_PRINT_DIRECT   0xE108
#define ID_FILE_PRINT_PREVIEW  0xE109  // 57609
#define ID_FILE_MRU_FILE1      0xE110  // 57616
#define ID_FILE_MRU_FILE16     0xE11F  // 57631
// Application commands.
#define ID_APP_ABOUT           0xE140  // 57664
#define ID_APP_EXIT            0xE141  // 57665
#define ID_HELP_INDEX          0xE142
#define ID_HELP_FINDER         0xE143  // 57667
#define ID_HELP_USING          0xE144
#define ID_CONTEXT_HELP        0xE145  // 57669
#define ID_HELP                0xE146  // 57670
#define ID_DEFAULT_HELP        0xE147  // 57671
#define ID_NEXT_PANE           0xE150
#define ID_PREV_PANE           0xE151
// Edit commands: bound by accelerators, handled by no one here.
#define ID_EDIT_COPY           0xE122
#define ID_EDIT_CUT            0xE123
#define ID_EDIT_PASTE          0xE125
#define ID_EDIT_UNDO           0xE12B
// Control bars and panes.
#define ID_VIEW_TOOLBAR        0xE800  // 59392
#define ID_VIEW_STATUS_BAR     0xE801  // 59393
#define AFX_IDW_TOOLBAR        0xE800
#define AFX_IDW_STATUS_BAR     0xE801
#define AFX_IDW_PANE_FIRST     0xE900
#define ID_INDICATOR_CAPS      0xE701  // 59137
#define ID_INDICATOR_NUM       0xE702  // 59138
#define ID_INDICATOR_SCRL      0xE703  // 59139
#define ID_SEPARATOR           0
#define AFX_IDS_SCFIRST        0xEF00  // 61184: prompts of the system-menu commands
// Strings the framework itself loads.
#define AFX_IDS_APP_TITLE      0xE000  // 57344
#define AFX_IDS_IDLEMESSAGE    0xE001  // 57345
#define AFX_IDS_HELPMODEMESSAGE 0xE002 // 57346
// Framework texts the program provides in its own language.
#define FW_IDS_UNTITLED        0xF200  // name of a document never saved
#define FW_IDS_SAVE_CHANGES    0xF201  // "%s": document title
#define FW_IDS_OPEN_FAILED     0xF202  // "%s": path
#define FW_IDS_READ_FAILED     0xF203  // "%s": path (unexpected end / bad contents)
#define FW_IDS_SAVE_FAILED     0xF204  // "%s": path
#define FW_IDS_ALL_FILES       0xF205  // filter text for every file
#define FW_IDS_HELP_TEXT       0xF206  // the help shown by the help commands
#define FW_IDS_HELP_TITLE      0xF207
#define FW_IDS_PRINT_FAILED    0xF208
#define FW_IDS_NOT_A_FILE      0xF209  // "%s": path of a device
#define FW_IDS_ARG_TOO_LONG    0xF20A  // "%s": the argument's beginning
#define FW_IDS_ARG_EMPTY       0xF20B
#define FW_IDS_ARG_EXTRA       0xF20C  // "%s": the first name too many
#define FW_IDS_ARG_UNKNOWN     0xF20D  // "%s": the switch, as /name
#define FW_IDS_TOOLBAR_TITLE   0xF210  // caption of the floating toolbar
#define FW_IDS_OPEN_FILTERS    0xF218  // optional: more "name\npattern" pairs for the open dialog
