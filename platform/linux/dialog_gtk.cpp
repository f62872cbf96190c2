// dialog_gtk.cpp -- the modal settings dialog on GTK 3, loaded when the
// dialog is first needed: the program links no GTK, so it starts and plays
// from options where GTK is not installed.
#include "platform/platform.h"

#include <dlfcn.h>

// The little of GTK's interface the dialog uses; widgets stay opaque.
namespace {
struct GtkWidget;
using gboolean = int;

enum { responseRun = 1, responseQuit = 2 };
constexpr int WinPosCenter = 1;           // GTK_WIN_POS_CENTER
constexpr int OrientationHorizontal = 0;  // GTK_ORIENTATION_HORIZONTAL

struct gtkCalls {
  gboolean (*init_check)(int*, char***);
  GtkWidget* (*dialog_new)();
  void (*window_set_title)(GtkWidget*, const char*);
  void (*window_set_modal)(GtkWidget*, gboolean);
  void (*window_set_resizable)(GtkWidget*, gboolean);
  void (*window_set_position)(GtkWidget*, int);
  GtkWidget* (*dialog_get_content_area)(GtkWidget*);
  void (*container_set_border_width)(GtkWidget*, unsigned);
  void (*container_add)(GtkWidget*, GtkWidget*);
  GtkWidget* (*frame_new)(const char*);
  GtkWidget* (*combo_box_text_new)();
  void (*combo_box_text_append_text)(GtkWidget*, const char*);
  void (*combo_box_set_active)(GtkWidget*, int);
  int (*combo_box_get_active)(GtkWidget*);
  GtkWidget* (*box_new)(int, int);
  void (*box_pack_start)(GtkWidget*, GtkWidget*, gboolean, gboolean, unsigned);
  GtkWidget* (*check_button_new_with_label)(const char*);
  void (*toggle_button_set_active)(GtkWidget*, gboolean);
  gboolean (*toggle_button_get_active)(GtkWidget*);
  GtkWidget* (*dialog_add_button)(GtkWidget*, const char*, int);
  void (*widget_set_can_default)(GtkWidget*, gboolean);
  void (*dialog_set_default_response)(GtkWidget*, int);
  void (*widget_show_all)(GtkWidget*);
  int (*dialog_run)(GtkWidget*);
  void (*widget_destroy)(GtkWidget*);
  gboolean (*events_pending)();
  gboolean (*main_iteration_do)(gboolean);
};

gtkCalls gtk;
enum class toolkit { untried, loaded, missing } state = toolkit::untried;
std::string failure;

template <typename F>
bool bind(void* lib, F& slot, const char* name) {
  slot = reinterpret_cast<F>(dlsym(lib, name));
  if (!slot && failure.empty()) failure = std::string("libgtk-3.so.0 lacks ") + name;
  return slot != nullptr;
}
}  // namespace

bool platformLoadDialogToolkit() {
  if (state != toolkit::untried) return state == toolkit::loaded;
  state = toolkit::missing;
  void* lib = dlopen("libgtk-3.so.0", RTLD_NOW | RTLD_GLOBAL);
  if (!lib) {
    const char* why = dlerror();
    failure = why ? why : "libgtk-3.so.0 cannot be loaded";
    return false;
  }
  bool ok = true;
#define GTK_CALL(name) ok = bind(lib, gtk.name, "gtk_" #name) && ok
  GTK_CALL(init_check);
  GTK_CALL(dialog_new);
  GTK_CALL(window_set_title);
  GTK_CALL(window_set_modal);
  GTK_CALL(window_set_resizable);
  GTK_CALL(window_set_position);
  GTK_CALL(dialog_get_content_area);
  GTK_CALL(container_set_border_width);
  GTK_CALL(container_add);
  GTK_CALL(frame_new);
  GTK_CALL(combo_box_text_new);
  GTK_CALL(combo_box_text_append_text);
  GTK_CALL(combo_box_set_active);
  GTK_CALL(combo_box_get_active);
  GTK_CALL(box_new);
  GTK_CALL(box_pack_start);
  GTK_CALL(check_button_new_with_label);
  GTK_CALL(toggle_button_set_active);
  GTK_CALL(toggle_button_get_active);
  GTK_CALL(dialog_add_button);
  GTK_CALL(widget_set_can_default);
  GTK_CALL(dialog_set_default_response);
  GTK_CALL(widget_show_all);
  GTK_CALL(dialog_run);
  GTK_CALL(widget_destroy);
  GTK_CALL(events_pending);
  GTK_CALL(main_iteration_do);
#undef GTK_CALL
  if (ok) state = toolkit::loaded;
  return ok;
}

std::string platformDialogToolkitFailure() { return failure; }

static GtkWidget* framed(GtkWidget* child, const char* label) {
  GtkWidget* frame = gtk.frame_new(label);
  gtk.container_set_border_width(child, 6);
  gtk.container_add(frame, child);
  return frame;
}

// Runs GTK's loop until it is idle, so that a destroyed dialog leaves the screen.
static void drainGtk() {
  while (gtk.events_pending()) gtk.main_iteration_do(0);
}

settingsChoice platformSettingsDialog(const std::string& caption, const std::vector<std::string>& entries,
                                      int defaultSelection) {
  settingsChoice choice;
  if (!platformLoadDialogToolkit() || !gtk.init_check(nullptr, nullptr)) return choice;

  GtkWidget* dialog = gtk.dialog_new();
  gtk.window_set_title(dialog, caption.c_str());
  gtk.window_set_modal(dialog, 1);
  gtk.window_set_resizable(dialog, 0);
  gtk.window_set_position(dialog, WinPosCenter);
  GtkWidget* area = gtk.dialog_get_content_area(dialog);
  gtk.container_set_border_width(dialog, 6);

  GtkWidget* list = gtk.combo_box_text_new();
  for (const std::string& e : entries) gtk.combo_box_text_append_text(list, e.c_str());
  if (defaultSelection >= 0) gtk.combo_box_set_active(list, defaultSelection);
  gtk.box_pack_start(area, framed(list, "Resolution"), 0, 0, 2);

  GtkWidget* row = gtk.box_new(OrientationHorizontal, 12);
  GtkWidget* aa = gtk.check_button_new_with_label("Antialiased");
  GtkWidget* clamp = gtk.check_button_new_with_label("FPS clamp");
  GtkWidget* windowed = gtk.check_button_new_with_label("Windowed");
  gtk.toggle_button_set_active(aa, 1);
  gtk.box_pack_start(row, aa, 0, 0, 0);
  gtk.box_pack_start(row, clamp, 0, 0, 0);
  gtk.box_pack_start(row, windowed, 0, 0, 0);
  gtk.box_pack_start(area, framed(row, nullptr), 0, 0, 2);

  GtkWidget* run = gtk.dialog_add_button(dialog, "Run ... ", responseRun);
  gtk.dialog_add_button(dialog, "Quit", responseQuit);
  gtk.widget_set_can_default(run, 1);
  gtk.dialog_set_default_response(dialog, responseRun);
  gtk.widget_show_all(dialog);

  int response = gtk.dialog_run(dialog);
  if (response == responseRun) {
    choice.run = true;
    choice.selected = gtk.combo_box_get_active(list);
    choice.antialiased = gtk.toggle_button_get_active(aa) != 0;
    choice.windowed = gtk.toggle_button_get_active(windowed) != 0;
    choice.fpsClamp = gtk.toggle_button_get_active(clamp) != 0;
  }
  gtk.widget_destroy(dialog);
  drainGtk();
  return choice;
}
