#pragma once
// The numbers of the resource script: commands, strings, dialogs, controls, images.

namespace res {

// Templates and images
constexpr int IDR_MAINFRAME = 128; // menu, accelerators, toolbar, icon, document strings
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDB_BACKGROUND = 102;
constexpr int IDD_ENCODER_SETTINGS = 130;
constexpr int IDD_TRACK_LIST = 133;
constexpr int IDB_SPLASH = 184;

// Commands
constexpr int ID_ENCODE_WAV_TO_MP3 = 32771;
constexpr int ID_RIP_CD_TO_WAV = 32772;
constexpr int ID_RIP_CD_TO_MP3 = 32773;
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_MRU_FIRST = 57616;
constexpr int ID_FILE_MRU_LAST = 57631;
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_PREV_PANE = 57681;
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;

// Windows
constexpr int AFX_IDW_TOOLBAR = 59392;
constexpr int AFX_IDW_STATUS_BAR = 59393;

// Status-bar indicators
constexpr int ID_SEPARATOR = 0;
constexpr int ID_INDICATOR_CAPS = 59137;
constexpr int ID_INDICATOR_NUM = 59138;
constexpr int ID_INDICATOR_SCRL = 59139;

// Strings
constexpr int AFX_IDS_APP_TITLE = 57344;
constexpr int AFX_IDS_IDLEMESSAGE = 57345;

// Controls of the encoder settings dialog
constexpr int IDC_COPYRIGHT = 1000;
constexpr int IDC_ORIGINAL = 1001;
constexpr int IDC_PRIVATE = 1002;
constexpr int IDC_CRC = 1003;
constexpr int IDC_BITRATE_32 = 1004;
constexpr int IDC_MONO = 1024;

// Controls of the track list dialog
constexpr int IDC_TRACK_LIST = 1007;
constexpr int IDC_RIP = 1010;

} // namespace res
