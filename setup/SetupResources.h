// Resource ids of the installer's pictures (drawn by scripts/make-images.py --setup). Also read by the resource
// compiler: plain defines only.
#pragma once

// The program's icon; id 1 so that the file shows it.
#define IDI_SETUP_APP 1
// Message-box pictures (64x64): warning, question; the yes/no question shows picture 1.
#define IDI_SETUP_MESSAGE_FIRST 400
#define IDI_SETUP_MESSAGE_COUNT 2
// The language buttons' pictures: RCDATA PNGs "SETUP_LANG0" .. "SETUP_LANG9" (24x24); flags at 0, 2 and 3.
#define kSetupLangPictureCount 10
