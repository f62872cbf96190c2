// resource.h -- the numbers of the settings dialog and its controls, shared
// by dialog.rc and the C++ that drives the dialog.
#pragma once

#define IDD_SETTINGS 101

// Run and Quit carry the system's IDOK and IDCANCEL numbers, so Return
// presses Run and Escape or the close box counts as Quit.
#define IDC_RUN 1
#define IDC_QUIT 2

#define IDC_ANTIALIASED 1011
#define IDC_WINDOWED 1012
#define IDC_FPSCLAMP 1013
#define IDC_RESOLUTION 1014

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
