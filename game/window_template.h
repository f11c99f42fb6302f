#pragma once

// The game window's template: the ids of its hidden controls, of the cancel
// command (Escape, the close box) and of the about command, and where the
// controls lie in dialog units (x, y, width, height). The Windows resource
// script, both front-ends, the tests and the scripts that drive the window
// all read them from here, hence macros.
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif
#define IDC_START 1000
#define IDC_STOP 1001
#define IDC_AREA 1002
#define IDC_READ 1003
#define IDC_TITLE 1004
#define IDM_ABOUTBOX 0x0010

#define WRIGGLET_DIALOG_SIZE 242, 201
#define WRIGGLET_RECT_TITLE 18, 23, 203, 36
#define WRIGGLET_RECT_READ 84, 71, 63, 21
#define WRIGGLET_RECT_START 84, 97, 63, 21
#define WRIGGLET_RECT_EXIT 84, 123, 63, 21
#define WRIGGLET_RECT_AREA 7, 7, 228, 151
#define WRIGGLET_RECT_STOP 172, 163, 63, 21
