#pragma once

// Resource ids of the Windows game, shared by the resource script and the
// code. The template's control ids are the ones both front-ends use.
#include "game/window_template.h"

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_WRIGGLET_DIALOG 102
#define IDR_MAINFRAME 128
#define IDB_BALLMASK 130
#define IDB_BALL 132

// The game window's message for enabling a control from any thread.
#define WM_APP_ENABLE_CONTROL (0x8000 + 1)
