// dialogprobe.cpp -- reads the settings dialog of a running Obelisk from the
// outside, for the Windows build's tests (not part of the production).
//   dialogprobe [--timeout SECONDS] [--press run|quit|none]
// Waits (default 60 s, looking every 100 ms) for a visible top-level dialog
// (class "#32770") whose caption ends with "Obelisk by Veltra - 2015 ", in
// any process of this desktop, then prints one fact a line:
//   units base=<x>,<y> from=<dialog|reference>
//   display mode=<i> <w>x<h> bpp=<bits> hz=<rate>   (every mode the system lists, in its order)
//   caption="<text>"
//   dialog client=<w>,<h> screen=<x>,<y>,<w>,<h>
//   control id=<id> class=<class> kind=<kind> style=0x<style> text="<text>" rect=<x>,<y>,<w>,<h> screen=<x>,<y>,<w>,<h>
//   checked id=<id> <0|1>
//   list count=<n> selected=<index> shown="<text>"
//   list item=<i> text="<text>"
// rect is in dialog units relative to the dialog's client area (a drop-down
// list's height is its dropped-down extent, as the resource gives it); screen is in
// pixels of the virtual screen (under Wine, the X server's root window):
// the dialog's whole window, its client area's origin, a control's window.
// Texts are quoted with \" \\ and \xNN escapes, so leading and trailing
// spaces stay visible. Dialog units come from the dialog itself when the
// system maps them for another process's dialog, otherwise from a hidden
// dialog of the same font (8-point MS Shell Dlg) that the probe makes.
// --press run|quit then clicks that button (BM_CLICK) after printing.
// Exit code 0: found; 2: not found in time; 1: wrong arguments.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
const char CaptionEnd[] = "Obelisk by Veltra - 2015 ";
const int RunId = 1, QuitId = 2;
const int CheckIds[] = {1011, 1012, 1013};

std::string quoted(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20 || c >= 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else {
      out += char(c);
    }
  }
  return out + "\"";
}

bool endsWith(const std::string& s, const char* end) {
  size_t n = std::strlen(end);
  return s.size() >= n && s.compare(s.size() - n, n, end) == 0;
}

std::string className(HWND w) {
  char name[256] = "";
  GetClassNameA(w, name, sizeof name);
  return name;
}

// WM_GETTEXT is carried across processes by the system.
std::string windowText(HWND w) {
  char text[1024] = "";
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &got))
    return std::string();
  return std::string(text, std::min<size_t>(got, sizeof text - 1));
}

LRESULT ask(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(w, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result)) return -1;
  return LRESULT(result);
}

// A list entry's text, asked for in UTF-16: Wine carries CB_GETLBTEXT to
// another process's list only in that form (the ANSI answer arrives cut
// short). The texts are ASCII.
std::string itemText(HWND list, int i) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(list, CB_GETLBTEXTLEN, WPARAM(i), 0, SMTO_ABORTIFHUNG, 2000, &len) || LRESULT(len) < 0)
    return std::string();
  std::vector<wchar_t> text(len + 1, L'\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(list, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                           &got) || LRESULT(got) < 0)
    return std::string();
  std::string out;
  for (DWORD_PTR k = 0; k < got && k < len; ++k) out += text[k] < 0x80 ? char(text[k]) : '?';
  return out;
}

bool onWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

struct search {
  HWND found = nullptr;
};

BOOL CALLBACK lookAt(HWND w, LPARAM param) {
  search* s = reinterpret_cast<search*>(param);
  if (!IsWindowVisible(w) || className(w) != "#32770") return TRUE;
  char text[512] = "";
  GetWindowTextA(w, text, sizeof text);
  if (!endsWith(text, CaptionEnd)) return TRUE;
  s->found = w;
  return FALSE;
}

HWND findDialog() {
  search s;
  EnumWindows(lookAt, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// A hidden dialog with the settings dialog's font, for its dialog units.
bool referenceBaseUnits(int& bx, int& by) {
  std::vector<WORD> t;
  auto dword = [&t](DWORD v) {
    t.push_back(LOWORD(v));
    t.push_back(HIWORD(v));
  };
  dword(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  dword(0);  // extended style
  t.push_back(0);  // no controls
  for (int i = 0; i < 4; ++i) t.push_back(0);  // x, y, cx, cy
  t.push_back(0);  // no menu
  t.push_back(0);  // the dialog class
  t.push_back(0);  // no caption
  t.push_back(8);  // points
  for (const wchar_t* f = L"MS Shell Dlg"; *f; ++f) t.push_back(WORD(*f));
  t.push_back(0);
  HWND d = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), nullptr,
                                      nullptr, 0);
  if (!d) return false;
  RECT r = {0, 0, 4, 8};
  bool ok = MapDialogRect(d, &r) != 0;
  DestroyWindow(d);
  bx = r.right;
  by = r.bottom;
  return ok && bx > 0 && by > 0;
}

struct units {
  int bx = 0, by = 0;
  int x(int pixels) const { return int(std::lround(pixels * 4.0 / bx)); }
  int y(int pixels) const { return int(std::lround(pixels * 8.0 / by)); }
};

// A screen rectangle in dialog units relative to the dialog's client area.
void printUnitRect(HWND dialog, const units& u, RECT r) {
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  std::printf(" rect=%d,%d,%d,%d", u.x(r.left), u.y(r.top), u.x(r.right - r.left), u.y(r.bottom - r.top));
}

void printScreenRect(const RECT& r) {
  std::printf(" screen=%ld,%ld,%ld,%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

std::string kindOf(const std::string& cls, LONG style) {
  if (cls == "Button") {
    switch (style & BS_TYPEMASK) {
      case BS_PUSHBUTTON: return "pushbutton";
      case BS_DEFPUSHBUTTON: return "defpushbutton";
      case BS_CHECKBOX: return "checkbox";
      case BS_AUTOCHECKBOX: return "autocheckbox";
      case BS_GROUPBOX: return "groupbox";
    }
    return "button";
  }
  if (cls == "ComboBox") {
    switch (style & 3) {
      case CBS_SIMPLE: return "simplecombo";
      case CBS_DROPDOWN: return "dropdown";
      case CBS_DROPDOWNLIST: return "dropdownlist";
    }
  }
  return "other";
}

struct controls {
  std::vector<HWND> all;
};

BOOL CALLBACK collect(HWND w, LPARAM param) {
  reinterpret_cast<controls*>(param)->all.push_back(w);
  return TRUE;
}

int usage() {
  std::fprintf(stderr, "usage: dialogprobe [--timeout SECONDS] [--press run|quit|none]\n");
  return 1;
}
}  // namespace

int main(int argc, char** argv) {
  double timeout = 60;
  std::string press = "none";
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--timeout" && i + 1 < argc) {
      char* end = nullptr;
      timeout = std::strtod(argv[++i], &end);
      if (*end || timeout < 0) return usage();
    } else if (a == "--press" && i + 1 < argc) {
      press = argv[++i];
      if (press != "run" && press != "quit" && press != "none") return usage();
    } else {
      return usage();
    }
  }

  HWND dialog = nullptr;
  DWORD start = GetTickCount();
  for (;;) {
    dialog = findDialog();
    if (dialog || (GetTickCount() - start) / 1000.0 >= timeout) break;
    Sleep(100);
  }
  if (!dialog) {
    std::printf("not found within %g s\n", timeout);
    return 2;
  }

  units u;
  const char* from = "dialog";
  RECT probe = {0, 0, 4, 8};
  if (MapDialogRect(dialog, &probe) && probe.right > 0 && probe.bottom > 0) {
    u.bx = probe.right;
    u.by = probe.bottom;
  } else if (referenceBaseUnits(u.bx, u.by)) {
    from = "reference";
  } else {
    std::printf("error: no dialog units\n");
    return 2;
  }
  std::printf("units base=%d,%d from=%s\n", u.bx, u.by, from);

  DEVMODEA dm;
  ZeroMemory(&dm, sizeof dm);
  dm.dmSize = sizeof dm;
  for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &dm); ++i)
    std::printf("display mode=%lu %lux%lu bpp=%lu hz=%lu\n", i, dm.dmPelsWidth, dm.dmPelsHeight, dm.dmBitsPerPel,
                dm.dmDisplayFrequency);

  char caption[512] = "";
  GetWindowTextA(dialog, caption, sizeof caption);
  std::printf("caption=%s\n", quoted(caption).c_str());

  RECT client, whole;
  GetClientRect(dialog, &client);
  GetWindowRect(dialog, &whole);
  POINT origin = {0, 0};
  ClientToScreen(dialog, &origin);
  std::printf("dialog client=%d,%d", u.x(client.right), u.y(client.bottom));
  printScreenRect(whole);
  std::printf(" origin=%ld,%ld\n", origin.x, origin.y);

  controls c;
  EnumChildWindows(dialog, collect, reinterpret_cast<LPARAM>(&c));
  HWND list = nullptr;
  for (HWND w : c.all) {
    if (GetParent(w) != dialog) continue;  // the combo box's own edit and list
    std::string cls = className(w);
    LONG style = GetWindowLongA(w, GWL_STYLE);
    int id = GetDlgCtrlID(w);
    RECT r;
    GetWindowRect(w, &r);
    RECT layout = r;
    if (cls == "ComboBox") {
      if (!list) list = w;
      RECT dropped;
      if (ask(w, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)) == CB_OKAY) {
        layout.bottom = dropped.bottom;
        // Wine answers with the box's top and the list's own height, the
        // list starting 2 pixels below the closed box.
        if (onWine()) layout.bottom = r.bottom + 2 + (dropped.bottom - dropped.top);
      }
    }
    std::printf("control id=%d class=%s kind=%s style=0x%08lx text=%s", id, cls.c_str(), kindOf(cls, style).c_str(),
                static_cast<unsigned long>(style), quoted(windowText(w)).c_str());
    printUnitRect(dialog, u, layout);
    printScreenRect(r);
    std::printf("\n");
  }

  for (int id : CheckIds) {
    HWND box = GetDlgItem(dialog, id);
    LRESULT state = box ? ask(box, BM_GETCHECK, 0, 0) : -1;
    std::printf("checked id=%d %d\n", id, state == BST_CHECKED ? 1 : 0);
  }

  if (list) {
    int count = int(ask(list, CB_GETCOUNT, 0, 0));
    int selected = int(ask(list, CB_GETCURSEL, 0, 0));
    std::printf("list count=%d selected=%d shown=%s\n", count, selected, quoted(windowText(list)).c_str());
    for (int i = 0; i < count; ++i) std::printf("list item=%d text=%s\n", i, quoted(itemText(list, i)).c_str());
  } else {
    std::printf("list count=0 selected=-1 shown=\"\"\n");
  }
  std::fflush(stdout);

  if (press != "none") {
    HWND button = GetDlgItem(dialog, press == "run" ? RunId : QuitId);
    if (!button || !PostMessageA(button, BM_CLICK, 0, 0)) {
      std::printf("error: cannot press %s\n", press.c_str());
      return 2;
    }
  }
  return 0;
}
