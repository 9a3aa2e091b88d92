// Resource and control IDs of the main window (range 300-399).
#pragma once

#define IDB_TOOL_DISPOSITIVOS 301
#define IDB_TOOL_DESCONECTAR 302
#define IDB_TOOL_BORRAR 303
#define IDB_TOOL_ACERCA 304

#define IDC_TXTCONSOLE 320
#define IDC_FRAME1 321
#define IDC_COMMAND1_FIRST 330 /* Command1(0) to Command1(3): 330 to 333 */
#define IDC_TOOL_FIRST 340     /* toolbar buttons 1 to 4: 341 to 344 */
#define IDC_TOOLBAR1 350
#define IDC_STATUSBAR1 351
