/* The Wuffs release file, compiled with its base, GIF and LZW modules only. Built only when
   the bench is configured with QUILLOP_WUFFS_SOURCE (the file is not part of this repository). */
#define WUFFS_IMPLEMENTATION
#define WUFFS_CONFIG__MODULES
#define WUFFS_CONFIG__MODULE__BASE
#define WUFFS_CONFIG__MODULE__GIF
#define WUFFS_CONFIG__MODULE__LZW
#include "wuffs-v0.3.c"
