// Helper of the gifview end-to-end test (tests/e2e/gifview_e2e.sh), a Windows program:
//   gifview_helper write FILE    writes an animated GIF made by the test recipe to FILE and
//                                prints the colour (RRGGBB) of each composed frame, one a line
//   gifview_helper command TITLE ID
//                                posts WM_COMMAND ID to the top-level window titled TITLE
#include "gif/gif_recipe.h"
#include "gif/picture.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace quillop::gif;
using namespace quillop::gif::test;

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "write") == 0) {
        // 40 x 30, three frames of one colour each, 300 ms apart, looping for ever.
        GIFRecipe R;
        R.Header().Screen(40, 30, {{0, 0, 0}, {220, 40, 30}, {30, 200, 60}, {40, 50, 210}});
        R.Netscape(0);
        for (uint8_t I = 1; I <= 3; ++I)
            R.GraphicControl(1, false, 0, 30).Image(0, 0, 40, 30, Bytes(1200, I), 2);
        R.Trailer();
        FILE* F = std::fopen(argv[2], "wb");
        if (!F || std::fwrite(R.Build().data(), 1, R.Size(), F) != R.Size())
            return 1;
        std::fclose(F);
        TGIFPicture P;
        if (!P.LoadFromBuffer(R.Build().data(), R.Size()))
            return 1;
        for (int32_t I = 1; I <= P.FrameCount(); ++I) {
            P.SetCurrentFrame(I);
            std::printf("%06X\n", static_cast<unsigned>(P.ComposedImage()->Pixel(20, 15)));
        }
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "command") == 0) {
        HWND W = FindWindowA(nullptr, argv[2]);
        if (!W)
            return 1;
        return PostMessageA(W, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[3])), 0) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: gifview_helper write FILE | command TITLE ID\n");
    return 2;
}
