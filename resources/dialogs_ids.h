// Resource IDs of the program's icons and the About window's logo.
#pragma once

#define IDI_PRINCIPAL 300

#define IDI_FINDER 401
#define IDI_ABOUT 402
#define IDB_ABOUT_LOGO 403
