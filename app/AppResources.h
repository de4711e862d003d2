// Resource ids of the pictures linked into TrelmMail.exe (drawn by scripts/make-images.py). Also read by the
// resource compiler: plain defines only.
#pragma once

// The application icon; id 1 so that the first icon of the program is this one.
#define IDI_TRELM_APP 1
// Tray images 0 .. 12: idle, unread counts 1 to 10, a check running, a reminder alarm (64x64, with 32 and 16).
#define IDI_TRAY_FIRST 100
#define IDI_TRAY_COUNT 13
// 16x16 glyphs: add, edit, delete, check now, help, thanks, apply, file, skin, sound.
#define IDI_GLYPH_FIRST 200
#define IDI_GLYPH_COUNT 10
// Language flags in the order of the language indexes: Russia, Belarus, Ukraine (16x16).
#define IDI_FLAG_FIRST 300
#define IDI_FLAG_COUNT 3
// Message-box pictures (64x64): warning, question.
#define IDI_MESSAGE_FIRST 400
#define IDI_MESSAGE_COUNT 2
// The tray menu's entries (16x16): check now, open, show the popups, clear them, exit.
#define IDI_MENU_FIRST 500
#define IDI_MENU_COUNT 5
