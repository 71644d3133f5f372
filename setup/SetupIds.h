// Resource and control numbers of the setup program.
#pragma once

// The setup dialog.
inline constexpr int IDD_SETUP = 102;
inline constexpr int IDS_PRODUCT = 1;
inline constexpr int IDR_SETUP_ICON = 128;
inline constexpr int IDC_TARGET_DIR = 1000;
inline constexpr int IDC_BROWSE = 3;
inline constexpr int IDC_COPY_PROGRESS = 1005;

// The directory chooser (the old-style file dialog's control numbers).
inline constexpr int IDD_CHOOSE_DIR = 1536;
inline constexpr int IDC_DIR_PATH = 1002;
inline constexpr int IDC_DIR_LIST = 1121;
inline constexpr int IDC_DRIVES_LABEL = 1091;
inline constexpr int IDC_DRIVES = 1137;
inline constexpr int IDC_HELP_BUTTON = 1038;
inline constexpr int IDC_FILE_NAME_LABEL = 1090;
inline constexpr int IDC_FILE_NAME = 1152;
inline constexpr int IDC_FILE_LIST = 1120;
inline constexpr int IDC_FILE_TYPE_LABEL = 1089;
inline constexpr int IDC_FILE_TYPES = 1136;
inline constexpr int IDC_CURRENT_DIR_TEXT = 1088;
inline constexpr int IDC_READ_ONLY = 1040;
