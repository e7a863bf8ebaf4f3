#pragma once
// The product's name and the texts that identify its maker, written at every show of the
// main window into the application, the main window and the About box.

#include "about/About_p.h"
#include "platform/system.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/menu.h"

#include <string>

namespace quillop::settings {

inline constexpr const char* kProductTitle = "Quillop v1.0f";
inline constexpr const char* kAboutBoxCaption = "About Quillop v1.0f ...";
inline constexpr const char* kReleaseDate = "September 2007";

// The year of a local date in four digits.
std::string Four_Digit_Year(const platform::SystemTime& date);

// The fifteen steps, in order: application title, main window caption and hint, About box
// caption, its identity labels (the year from the local date now), the spare menu item
// emptied and hidden, the link texts and addresses, the About box hint. The program always
// passes its About box; a main window used on its own (tests) passes nullptr and gets only the
// steps for the application and the main window.
void Set_Product_Texts(ui::Application& app, ui::Form& main_window, ui::MenuItem& spare_menu,
                       TAboutBox* about_box);

} // namespace quillop::settings
