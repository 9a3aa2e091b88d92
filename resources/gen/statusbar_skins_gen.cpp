// Writes the status bar's built-in skin strip, statusbar_skins.bmp, into the folder given as argv[1].
#include "resources/gen/bitmap.h"
#include "resources/gen/statusbar_strip.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string path = std::string(argv[1]) + "/statusbar_skins.bmp";
    if (!gen::WriteFile(path, bmp::Encode(gen::BuildStatusBarSkinStrip()))) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
