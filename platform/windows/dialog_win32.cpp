// dialog_win32.cpp -- the settings dialog and the display modes on Windows.
// The dialog is resource IDD_SETTINGS (dialog.rc), laid out in dialog units;
// the modes come from the system's display settings, mode by mode.
#include "platform/platform.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

#include "platform/windows/resource.h"

// ---- display modes ----------------------------------------------------------------
std::vector<displayMode> platformDisplayModes() {
  std::vector<displayMode> modes;
  DEVMODEA dm;
  ZeroMemory(&dm, sizeof dm);
  dm.dmSize = sizeof dm;
  for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &dm); ++i) {
    modes.push_back({int(dm.dmPelsWidth), int(dm.dmPelsHeight)});
  }
  // The loop that once read these modes looked at its record once more after
  // the system had run out of them: that record is still the last mode read,
  // so it is listed twice (the shell drops the second as a duplicate).
  if (!modes.empty()) modes.push_back(modes.back());
  return modes;
}

// ---- the dialog's toolkit: the system's own, nothing to load -------------------------
bool platformLoadDialogToolkit() { return true; }
std::string platformDialogToolkitFailure() { return std::string(); }

// ---- the settings dialog --------------------------------------------------------------
namespace {
struct dialogState {
  const std::vector<std::string>* entries;
  int defaultSelection;
  settingsChoice choice;
};

// The list is filled once per process: the dialog opens once, before the
// production starts.
bool listFilled = false;

bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

INT_PTR CALLBACK settingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      const dialogState* state = reinterpret_cast<const dialogState*>(lParam);
      CheckDlgButton(dialog, IDC_ANTIALIASED, BST_CHECKED);
      CheckDlgButton(dialog, IDC_WINDOWED, BST_UNCHECKED);
      CheckDlgButton(dialog, IDC_FPSCLAMP, BST_UNCHECKED);
      if (!listFilled) {
        listFilled = true;
        for (const std::string& e : *state->entries)
          SendDlgItemMessageA(dialog, IDC_RESOLUTION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
      }
      // CB_SETCURSEL with -1 clears the selection
      SendDlgItemMessageA(dialog, IDC_RESOLUTION, CB_SETCURSEL, WPARAM(state->defaultSelection), 0);
      return TRUE;  // the first tab stop, Run, takes the focus
    }
    case WM_COMMAND: {
      dialogState* state = reinterpret_cast<dialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
      if (!state) return FALSE;
      switch (LOWORD(wParam)) {
        case IDC_RUN:
          state->choice.run = true;
          state->choice.antialiased = checked(dialog, IDC_ANTIALIASED);
          state->choice.windowed = checked(dialog, IDC_WINDOWED);
          state->choice.fpsClamp = checked(dialog, IDC_FPSCLAMP);
          state->choice.selected = int(SendDlgItemMessageA(dialog, IDC_RESOLUTION, CB_GETCURSEL, 0, 0));
          EndDialog(dialog, IDC_RUN);
          return TRUE;
        case IDC_QUIT:  // also Escape and the system menu's Close
          state->choice.run = false;
          EndDialog(dialog, IDC_QUIT);
          return TRUE;
      }
      return FALSE;
    }
    case WM_CLOSE: {
      dialogState* state = reinterpret_cast<dialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
      if (state) state->choice.run = false;
      EndDialog(dialog, IDC_QUIT);
      return TRUE;
    }
  }
  return FALSE;
}
}  // namespace

// The caption is the resource's own, the same text the shell passes.
settingsChoice platformSettingsDialog(const std::string& /*caption*/, const std::vector<std::string>& entries,
                                      int defaultSelection) {
  dialogState state{&entries, defaultSelection, settingsChoice()};
  INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETTINGS), nullptr,
                                   settingsProc, reinterpret_cast<LPARAM>(&state));
  if (result == -1 || result == 0) {
    std::fprintf(stderr, "the settings dialog cannot be shown (error %lu)\n", GetLastError());
    state.choice = settingsChoice();
  }
  return state.choice;
}
