// Resource and control numbers of the module: menus, dialog templates and
// their controls, bitmaps, the icon and the string table.
#pragma once

#include <array>

// Context menu "Строки" and its two items.
inline constexpr int IDR_TEXT_MENU = 8001;
inline constexpr int ID_MENU_EKESTRIN = 32771;  // "Редактирование строк"
inline constexpr int ID_MENU_CKESTRIN = 32772;  // "Текст/Редактирование"

// String table.
inline constexpr int IDS_ABOUTBOX = 3;     // "О программе.."
inline constexpr int IDM_ABOUTBOX = 16;    // its system-menu command

// Icon of the palette and of the edit dialog.
inline constexpr int IDI_KESTRIN = 8052;

// ---- Dialog 8002: the composition palette -------------------------------
inline constexpr int IDD_TEXT_PALETTE = 8002;

// Top row.
inline constexpr int IDC_CUT = 8008;
inline constexpr int IDC_COPY = 8007;
inline constexpr int IDC_PASTE = 8011;
inline constexpr int IDC_JUSTIFY_LEFT = 8021;
inline constexpr int IDC_JUSTIFY_CENTER = 8022;
inline constexpr int IDC_JUSTIFY_RIGHT = 8023;
inline constexpr int IDC_SWAP_CASE = 8046;
inline constexpr int IDC_SWAP_LAYOUT = 8048;
inline constexpr int IDC_LOAD_FONT = 8013;
inline constexpr int IDC_UNDO = 8044;
inline constexpr int IDC_PICK_TEXT = 8043;
inline constexpr int IDC_HELP_BUTTON = 4;
inline constexpr int IDC_ABOUT = 3;
inline constexpr int IDC_EXIT = 2;  // the dialog's cancel button

// Property row.
inline constexpr int IDC_STYLE = 8002;
inline constexpr int IDC_HEIGHT = 8003;
inline constexpr int IDC_WIDTH = 8004;
inline constexpr int IDC_OBLIQUE = 8005;
inline constexpr int IDC_ROTATION = 8006;
inline constexpr int IDC_OFFSET_X = 8015;
inline constexpr int IDC_OFFSET_Y = 8016;
inline constexpr int IDC_PICK_OFFSET = 8017;
inline constexpr int IDC_MOVE_LINE = 8018;
inline constexpr int IDC_PICK_POINT = 8020;
inline constexpr int IDC_NEW_LINE = 8024;  // the default button

// First symbol row: mode buttons (push-like check boxes).
inline constexpr int IDC_OVERLINE = 8031;
inline constexpr int IDC_UNDERLINE = 8032;
inline constexpr int IDC_SUPERSCRIPT = 8029;
inline constexpr int IDC_SUBSCRIPT = 8030;
// Dual buttons.
inline constexpr int IDC_PLUS_MINUS = 8042;
inline constexpr int IDC_DEGREE = 8039;
inline constexpr int IDC_DIAMETER = 8033;
// Own-font image buttons.
inline constexpr int IDC_RADICAL = 8012;
inline constexpr int IDC_DIVISION = 8025;
inline constexpr int IDC_INTEGRAL = 8026;
inline constexpr int IDC_NOT_EQUAL = 8027;
inline constexpr int IDC_APPROX_EQUAL = 8028;
inline constexpr int IDC_ARROW_LEFT = 8034;
inline constexpr int IDC_ARROW_RIGHT = 8035;
inline constexpr int IDC_ARROW_UP = 8036;
inline constexpr int IDC_ARROW_DOWN = 8037;
inline constexpr int IDC_NUMBER_SIGN = 8045;
inline constexpr int IDC_STAR = 8040;
inline constexpr int IDC_UPSILON_HOOKS = 8068;
inline constexpr int IDC_NABLA = 8071;
inline constexpr int IDC_LOGICAL_OR = 8073;
inline constexpr int IDC_PARTIAL = 8080;
inline constexpr int IDC_ELEMENT_OF = 8087;
// Greek capital sigma, caption "S".
inline constexpr int IDC_GREEK_SIGMA_CAP = 8091;
// Roman numerals.
inline constexpr int IDC_ROMAN_INPUT = 8038;
inline constexpr int IDC_ROMAN_OUTPUT = 8041;  // ">>"

// Second symbol row: Greek letters, captions in the "Symbol" font.
inline constexpr int IDC_GREEK_THETA = 8047;      // q
inline constexpr int IDC_GREEK_OMEGA = 8049;      // w
inline constexpr int IDC_GREEK_EPSILON = 8050;    // e
inline constexpr int IDC_GREEK_RHO = 8051;        // r
inline constexpr int IDC_GREEK_TAU = 8052;        // t
inline constexpr int IDC_GREEK_PSI = 8061;        // y
inline constexpr int IDC_GREEK_UPSILON = 8062;    // u
inline constexpr int IDC_GREEK_IOTA = 8063;       // i
inline constexpr int IDC_GREEK_OMICRON = 8064;    // o
inline constexpr int IDC_GREEK_PI = 8065;         // p
inline constexpr int IDC_GREEK_PSI_CAP = 8066;    // Y
inline constexpr int IDC_GREEK_OMEGA_CAP = 8067;  // W
inline constexpr int IDC_GREEK_THETA_CAP = 8069;  // Q
inline constexpr int IDC_GREEK_DELTA_CAP = 8070;  // D
inline constexpr int IDC_GREEK_LAMBDA_CAP = 8072; // L
inline constexpr int IDC_GREEK_ALPHA = 8074;      // a
inline constexpr int IDC_GREEK_SIGMA = 8075;      // s
inline constexpr int IDC_GREEK_DELTA = 8076;      // d
inline constexpr int IDC_GREEK_PHI = 8077;        // f
inline constexpr int IDC_GREEK_GAMMA = 8078;      // g
inline constexpr int IDC_GREEK_ETA = 8079;        // h
inline constexpr int IDC_GREEK_KAPPA = 8081;      // k
inline constexpr int IDC_GREEK_LAMBDA = 8082;     // l
inline constexpr int IDC_GREEK_ZETA = 8083;       // z
inline constexpr int IDC_GREEK_XI = 8084;         // x
inline constexpr int IDC_GREEK_CHI = 8086;        // c
inline constexpr int IDC_GREEK_BETA = 8088;       // b
inline constexpr int IDC_GREEK_NU = 8089;         // n
inline constexpr int IDC_GREEK_MU = 8090;         // m

// Bottom: the text field and the keyboard indicators (shared with dialog 100).
inline constexpr int IDC_TEXT = 8019;
inline constexpr int IDC_CAPS_LOCK = 8053;
inline constexpr int IDC_NUM_LOCK = 8057;
inline constexpr int IDC_LANGUAGE = 8056;

// ---- Dialog 100: the text edit dialog -----------------------------------
inline constexpr int IDD_TEXT_EDIT = 100;
inline constexpr int IDC_EDIT_TEXT = 8000;
inline constexpr int IDC_EDIT_DYNAMIC = 8001;  // "Динамически"
inline constexpr int IDC_EDIT_OK = 1;
inline constexpr int IDC_EDIT_UNDO = 3;        // "Отмена"

// ---- Dialog 8053: the About box ------------------------------------------
inline constexpr int IDD_ABOUTBOX = 8053;
inline constexpr int IDC_ABOUT_LINK = 8058;  // the author's e-mail address, a link
inline constexpr char kAuthorMail[] = "zor-soft@example.com";

// ---- Bitmaps of the palette's image buttons -----------------------------
inline constexpr int IDB_CUT = 8010;
inline constexpr int IDB_COPY = 8009;
inline constexpr int IDB_PASTE = 8011;
inline constexpr int IDB_JUSTIFY_LEFT = 8012;
inline constexpr int IDB_JUSTIFY_CENTER = 8014;
inline constexpr int IDB_JUSTIFY_RIGHT = 8016;
inline constexpr int IDB_SWAP_CASE = 8078;
inline constexpr int IDB_SWAP_LAYOUT = 8082;
inline constexpr int IDB_LOAD_FONT = 8023;
inline constexpr int IDB_UNDO = 8061;
inline constexpr int IDB_PICK_TEXT = 8057;
inline constexpr int IDB_HELP = 8084;
inline constexpr int IDB_ABOUT = 8018;
inline constexpr int IDB_EXIT = 8026;
inline constexpr int IDB_PICK_OFFSET = 8021;
inline constexpr int IDB_MOVE_LINE = 8103;
inline constexpr int IDB_PICK_POINT = 8024;
inline constexpr int IDB_NEW_LINE = 8027;
inline constexpr int IDB_OVERLINE = 8037;
inline constexpr int IDB_UNDERLINE = 8038;
inline constexpr int IDB_SUPERSCRIPT = 8035;
inline constexpr int IDB_SUBSCRIPT = 8036;
inline constexpr int IDB_DIAMETER = 8044;
inline constexpr int IDB_DEGREE = 8049;
inline constexpr int IDB_PLUS_MINUS = 8054;
inline constexpr int IDB_RADICAL = 8039;
inline constexpr int IDB_DIVISION = 8040;
inline constexpr int IDB_INTEGRAL = 8041;
inline constexpr int IDB_NOT_EQUAL = 8042;
inline constexpr int IDB_APPROX_EQUAL = 8043;
inline constexpr int IDB_ARROW_LEFT = 8045;
inline constexpr int IDB_ARROW_RIGHT = 8046;
inline constexpr int IDB_ARROW_UP = 8047;
inline constexpr int IDB_ARROW_DOWN = 8048;
inline constexpr int IDB_STAR = 8050;
inline constexpr int IDB_NUMBER_SIGN = 8060;
inline constexpr int IDB_UPSILON_HOOKS = 8095;
inline constexpr int IDB_NABLA = 8096;
inline constexpr int IDB_LOGICAL_OR = 8097;
inline constexpr int IDB_ELEMENT_OF = 8098;
inline constexpr int IDB_PARTIAL = 8099;
inline constexpr int IDB_BLANK = 8100;  // empty grey face

// All 42 button bitmaps, loaded together when the palette opens.
inline constexpr std::array<int, 42> kButtonBitmaps = {
    IDB_CUT, IDB_COPY, IDB_PASTE, IDB_JUSTIFY_LEFT, IDB_JUSTIFY_CENTER,
    IDB_JUSTIFY_RIGHT, IDB_SWAP_CASE, IDB_SWAP_LAYOUT, IDB_LOAD_FONT, IDB_UNDO,
    IDB_PICK_TEXT, IDB_HELP, IDB_ABOUT, IDB_EXIT, IDB_PICK_OFFSET,
    IDB_MOVE_LINE, IDB_PICK_POINT, IDB_NEW_LINE, IDB_OVERLINE, IDB_UNDERLINE,
    IDB_SUPERSCRIPT, IDB_SUBSCRIPT, IDB_DIAMETER, IDB_DEGREE, IDB_PLUS_MINUS,
    IDB_RADICAL, IDB_DIVISION, IDB_INTEGRAL, IDB_NOT_EQUAL, IDB_APPROX_EQUAL,
    IDB_ARROW_LEFT, IDB_ARROW_RIGHT, IDB_ARROW_UP, IDB_ARROW_DOWN, IDB_STAR,
    IDB_NUMBER_SIGN, IDB_UPSILON_HOOKS, IDB_NABLA, IDB_LOGICAL_OR,
    IDB_ELEMENT_OF, IDB_PARTIAL, IDB_BLANK};
