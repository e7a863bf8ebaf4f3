// Resource identifiers shared by Quillop.rc and the code that loads them.
#pragma once

#define QUILLOP_ICON 1
