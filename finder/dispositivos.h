// Dispositivos: the device finder. Lists the attached ZEV devices, refreshes the list once a
// second, and connects to the chosen one, handing the open link over to the main window. Modeless,
// without owner, one instance at a time.
#pragma once

#include "console/app_context.h"
#include "controls/button/skin_button.h"
#include "finder/finder_model.h"
#include "win/gdi.h"
#include "win/single_instance.h"
#include "win/window_base.h"

#include <windows.h>

#include <string>

namespace finder {

class Dispositivos : public win::Window {
public:
    explicit Dispositivos(console::AppContext& app);
    ~Dispositivos() override;

    // Shows the finder: creates it afresh when none is open, else brings the open one to the front.
    static Dispositivos* Show(console::AppContext& app);
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

    console::AppContext& app_;
    FinderModel model_;
    HWND frame_ = nullptr;
    HWND list_ = nullptr;
    win::Font frameFont_;
    win::Font listFont_;
    int dpi_ = 96;
};

} // namespace finder
