#pragma once
// The About box's two helpers: opening a link through the shell, and the free-memory readout.
// Free functions of the unit About_p.

#include "platform/shell.h"
#include "platform/system.h"
#include "ui/application.h"

#include <string>

namespace quillop {

// Hands a web address, a "mailto:" link or a file to the shell's "open" (owner: the main
// window, shown normally). An empty text opens nothing; a failure is ignored.
void Open_With_Shell(ui::Application& app, const std::string& text);

// The free share of physical memory and page file together, rounded to a whole per cent,
// followed by "%" (for example "42%"). Computed from the 64-bit counts, so machines with more
// than 4 GB read right. Empty when the counts cannot be read.
std::string Free_Memory_Percent_Text(platform::System& system);

} // namespace quillop
