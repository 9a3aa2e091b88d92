// ZEV Config entry point: the main window over the driver, the device catalog and the link.
#include "console/about.h"
#include "console/app_context.h"
#include "console/open_finder.h"
#include "console/principal.h"
#include "finder/dispositivos.h"
#include "link/d2xx_library.h"
#include "win/ole_apartment.h"

#include <commctrl.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // Held until the process ends, so the installer and the uninstaller of this architecture can tell
    // that the program's files are in use: in this session, and (Global) for the sessions of other users.
    constexpr bool x64 = sizeof(void*) == 8;
    CreateMutexW(nullptr, FALSE, x64 ? L"ZEVConfig.Running.x64" : L"ZEVConfig.Running.x86");
    CreateMutexW(nullptr, FALSE, x64 ? L"Global\\ZEVConfig.Running.x64" : L"Global\\ZEVConfig.Running.x86");
    // Libraries come only from the program's folder or System32. Where Windows cannot limit its
    // search, the driver is still loaded by full path from those folders (DriverLibrary).
    devlink::LimitDllSearch();
    // The GUI thread's apartment, before any window and until the last is gone.
    const win::OleApartment apartment;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    console::AppContext app;
    console::Principal principal(app, {.programFolder = {}, .quitOnClose = true});
    console::AttachFinder(app, principal);
    principal.ShowAbout = [] { console::About::Show(); };
    // Open tells the user why when it fails (the skin picture cannot be read): the program ends.
    if (!principal.Open(showCommand))
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Tab and arrow keys move between the controls of the finder and the About window.
        HWND dialog = nullptr;
        if (auto* f = finder::Dispositivos::Instance(); f && IsChild(f->Hwnd(), msg.hwnd))
            dialog = f->Hwnd();
        else if (auto* a = console::About::Instance(); a && IsChild(a->Hwnd(), msg.hwnd))
            dialog = a->Hwnd();
        if (dialog && IsDialogMessageW(dialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // Closing the main window ends the program, whatever else is open.
    finder::Dispositivos::CloseInstance();
    console::About::CloseInstance();
    return 0;
}
