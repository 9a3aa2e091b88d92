// Writes the main window's pictures into <folder>/console/.
#include "resources/gen/console_art.h"

#include <cstdio>
#include <string>
#include <vector>
#include <sys/stat.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/console";
    mkdir(folder.c_str(), 0755);
    const std::string tools[4] = {"tool_dispositivos", "tool_desconectar", "tool_borrar", "tool_acerca"};
    std::vector<gen::Raster> icons;
    for (int size : gen::kPrincipalIconSizes)
        icons.push_back(gen::PrincipalIcon(size));
    bool ok = gen::WriteFile(folder + "/Skin_VBNET.bmp", bmp::Encode(gen::ToolbarSkin())) &&
              gen::WriteFile(folder + "/principal.ico", bmp::EncodeIcon(icons, gen::kConsoleTransparent));
    for (int i = 0; i < 4 && ok; ++i)
        ok = gen::WriteFile(folder + "/" + tools[i] + ".bmp", bmp::Encode(gen::ToolImage(i))) &&
             gen::WriteFile(folder + "/" + tools[i] + "_48.bmp", bmp::Encode(gen::ToolImage(i, 48)));
    if (!ok) {
        std::fprintf(stderr, "could not write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
