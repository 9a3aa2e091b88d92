// Dispositivos: the device finder. Lists the attached ZEV devices, refreshes the list once a
// second, and connects to the chosen one, handing the open link over to whoever opened the finder
// (the main window). Modeless, without owner, one instance at a time.
#pragma once

#include "controls/button/skin_button.h"
#include "finder/finder_model.h"
#include "link/d2xx_library.h"
#include "link/device_catalog.h"
#include "link/link_state.h"
#include "win/dialog_focus.h"
#include "win/gdi.h"
#include "win/single_instance.h"
#include "win/window_base.h"

#include <windows.h>

#include <functional>
#include <string>

namespace finder {

// Takes over a link the finder has just opened: itemText is the chosen list item's text, and
// closeFinder unloads the finder, at the moment of the take-over that it must go.
using LinkOpened = std::function<void(const std::wstring& itemText, const std::function<void()>& closeFinder)>;

// What the finder works with: the driver, its device catalog and the link, all outliving the
// finder, and who takes over a link once it is open.
struct FinderArgs {
    const devlink::DriverLibrary& driver;
    devlink::DeviceCatalog& catalog;
    devlink::LinkState& link;
    // Empty: the finder only closes once connected.
    LinkOpened linkOpened;
};

class Dispositivos : public win::Window {
public:
    explicit Dispositivos(FinderArgs args);
    ~Dispositivos() override;

    // Shows the finder: creates it afresh when none is open, else brings the open one to the front.
    static Dispositivos* Show(FinderArgs args);
    // The open finder, or null.
    static Dispositivos* Instance();
    // Closes the open finder, if any (the program ends).
    static void CloseInstance();

    // Position in the list of the item chosen for connecting; -1 for none.
    short SelectedDevice = -1;

    HWND DeviceFinder() const { return list_; }
    HWND Frame1() const { return frame_; }
    // The display scale the window is laid out for.
    int Dpi() const { return dpi_; }
    skinbutton::SkinButton btnConectar;
    skinbutton::SkinButton btnCancelar;

    void RefreshZEVTimer_Timer();
    void btnConectar_Click();
    void btnCancelar_Click();

    // The text a list item shows.
    static std::wstring ItemText(const Item& item);

    static constexpr const wchar_t* kCaption = L"ZEV Config - Búsqueda de Dispositivos";
    static constexpr const wchar_t* kCountFailed = L"FT_GetNumDevices failed";
    static constexpr const wchar_t* kNoZev = L"No se ha encontrado ningún ZEV";

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyed() override;

private:
    friend class win::SingleInstance<Dispositivos>;
    bool Open();
    bool CreateControls();
    void MakeFonts();
    // WM_DPICHANGED, once the window has its new rectangle.
    void OnDpiChanged(int dpi);
    void Form_Load();
    void ShowItems(FinderModel::Change change);
    void Unload();
    void TellDriverMissingOnce();
    static LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR);

    FinderArgs args_;
    FinderModel model_;
    // Opens on the list, as a dialog box opens on its first control.
    win::DialogFocus focus_;
    HWND frame_ = nullptr;
    HWND list_ = nullptr;
    win::Font frameFont_;
    win::Font listFont_;
    int dpi_ = 96;
};

} // namespace finder
