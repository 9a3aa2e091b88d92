// Resource IDs of the device finder's and the About window's pictures.
#pragma once

#define IDI_FINDER 401
#define IDI_ABOUT 402
#define IDB_ABOUT_LOGO 403
#define IDB_ABOUT_LOGO_144 404
