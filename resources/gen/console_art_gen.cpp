// Writes the main window's pictures into <folder>/console/.
#include "resources/gen/console_art.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/console";
    mkdir(folder.c_str(), 0755);
    const char* const tools[4] = {"tool_dispositivos.bmp", "tool_desconectar.bmp", "tool_borrar.bmp",
                                  "tool_acerca.bmp"};
    bool ok =
        gen::WriteFile(folder + "/Skin_VBNET.bmp", bmp::Encode(gen::ToolbarSkin())) &&
        gen::WriteFile(folder + "/principal.ico",
                       bmp::EncodeIcon({gen::PrincipalIcon(32), gen::PrincipalIcon(16)}, gen::kConsoleTransparent));
    for (int i = 0; i < 4 && ok; ++i)
        ok = gen::WriteFile(folder + "/" + tools[i], bmp::Encode(gen::ToolImage(i)));
    if (!ok) {
        std::fprintf(stderr, "could not write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
