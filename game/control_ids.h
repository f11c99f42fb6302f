#pragma once

// Ids of the game window's template controls and of its about command,
// shared by both front-ends and the Windows resource script, hence macros.
#ifndef IDOK
#define IDOK 1
#endif
#define IDC_START 1000
#define IDC_STOP 1001
#define IDC_AREA 1002
#define IDC_READ 1003
#define IDC_TITLE 1004
#define IDM_ABOUTBOX 0x0010
