// Writes the device finder's and the About window's pictures into <folder>/dialogs/.
#include "resources/gen/dialogs_art.h"

#include <cstdio>
#include <string>
#include <vector>
#include <sys/stat.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/dialogs";
    mkdir(folder.c_str(), 0755);
    std::vector<gen::Raster> finder, about;
    for (int size : gen::kDialogIconSizes) {
        finder.push_back(gen::FinderIcon(size));
        about.push_back(gen::AboutIcon(size));
    }
    const bool ok = gen::WriteFile(folder + "/about_logo.bmp", bmp::Encode(gen::AboutLogo())) &&
                    gen::WriteFile(folder + "/about_logo_144.bmp", bmp::Encode(gen::AboutLogo(144))) &&
                    gen::WriteFile(folder + "/finder.ico", bmp::EncodeIcon(finder, gen::kIconTransparent)) &&
                    gen::WriteFile(folder + "/about.ico", bmp::EncodeIcon(about, gen::kIconTransparent));
    if (!ok) {
        std::fprintf(stderr, "could not write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
