// Resource ids of SkinStatusBar (range 200-299).
#pragma once

// The built-in skin strip, resources/statusbar_skins.bmp.
#define IDB_STATUSBAR_SKINS 200
