// Writes the skinned button's 22 built-in skins into <folder>/button_skins/.
#include "resources/gen/button_skins.h"

#include "controls/button/skin_palette.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    mkdir((folder + "/button_skins").c_str(), 0755);
    for (int skin = 0; skin < skinbutton::kBuiltInSkinCount; ++skin) {
        const std::string path = folder + "/" + gen::ButtonSkinFile(skin);
        if (!gen::WriteFile(path, bmp::Encode(gen::ButtonSkin(skin)))) {
            std::fprintf(stderr, "could not write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
