// platform_gtk.cpp -- the modal settings dialog on GTK 3.
#include "platform/platform.h"

#include <gtk/gtk.h>

enum { responseRun = 1, responseQuit = 2 };

static GtkWidget* framed(GtkWidget* child, const char* label) {
  GtkWidget* frame = gtk_frame_new(label);
  gtk_container_set_border_width(GTK_CONTAINER(child), 6);
  gtk_container_add(GTK_CONTAINER(frame), child);
  return frame;
}

// Runs GTK's loop until it is idle, so that a destroyed dialog leaves the screen.
static void drainGtk() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

settingsChoice platformSettingsDialog(const std::string& caption, const std::vector<std::string>& entries,
                                      int defaultSelection) {
  settingsChoice choice;
  if (!gtk_init_check(nullptr, nullptr)) return choice;

  GtkWidget* dialog = gtk_dialog_new();
  gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
  gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
  gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  GtkWidget* area = gtk_dialog_get_content_area(GTK_DIALOG(dialog));
  gtk_container_set_border_width(GTK_CONTAINER(dialog), 6);

  GtkWidget* list = gtk_combo_box_text_new();
  for (const std::string& e : entries) gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(list), e.c_str());
  if (defaultSelection >= 0) gtk_combo_box_set_active(GTK_COMBO_BOX(list), defaultSelection);
  gtk_box_pack_start(GTK_BOX(area), framed(list, "Resolution"), FALSE, FALSE, 2);

  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
  GtkWidget* aa = gtk_check_button_new_with_label("Antialiased");
  GtkWidget* clamp = gtk_check_button_new_with_label("FPS clamp");
  GtkWidget* windowed = gtk_check_button_new_with_label("Windowed");
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(aa), TRUE);
  gtk_box_pack_start(GTK_BOX(row), aa, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(row), clamp, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(row), windowed, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(area), framed(row, nullptr), FALSE, FALSE, 2);

  GtkWidget* run = gtk_dialog_add_button(GTK_DIALOG(dialog), "Run ... ", responseRun);
  gtk_dialog_add_button(GTK_DIALOG(dialog), "Quit", responseQuit);
  gtk_widget_set_can_default(run, TRUE);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), responseRun);
  gtk_widget_show_all(dialog);

  int response = gtk_dialog_run(GTK_DIALOG(dialog));
  if (response == responseRun) {
    choice.run = true;
    choice.selected = gtk_combo_box_get_active(GTK_COMBO_BOX(list));
    choice.antialiased = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(aa));
    choice.windowed = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(windowed));
    choice.fpsClamp = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(clamp));
  }
  gtk_widget_destroy(dialog);
  drainGtk();
  return choice;
}
