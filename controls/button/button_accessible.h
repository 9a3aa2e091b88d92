// A SkinButton as screen readers see it: WM_GETOBJECT for its client area is answered with an
// IAccessible of ours, which tells what the platform's standard proxy cannot (role, name, state and
// default action of a button that paints itself) and hands the rest (location, parent, navigation,
// hit test, focus) to that proxy.
#pragma once

#include <windows.h>

namespace skinbutton {

class SkinButton;

// The published IID_IAccessible: MinGW's import library carries a wrong one.
extern const IID kIidAccessible;

// The WM_GETOBJECT answer for the button's client area (0 when the object cannot be made). The object
// reaches the button through its window on every call, so it outlives the button safely: once the
// window is gone every call fails.
LRESULT ServeAccessibleObject(HWND button, WPARAM wParam);

} // namespace skinbutton
