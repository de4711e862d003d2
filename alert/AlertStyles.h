// The alert window's colour styles and its placement on the work area; pure data and arithmetic.
// Index: TMsgAlertWindowStyle, TGradientDirection, TWindowPosition, TAlertStyleColors, AlertStyleColors,
// AlertWindowPlace.
#pragma once

#include "classlib/Graphics.h"
#include "classlib/Types.h"

enum TMsgAlertWindowStyle {
    asOffice2003Blue,
    asOffice2003Silver,
    asOffice2003Olive,
    asOffice2003Classic,
    asOffice2007Luna,
    asOffice2007Obsidian,
    asWindowsXP,
    asWhidbey,
    asCustom,
    asOffice2007Silver,
    asWindowsVista,
    asWindows7,
    asTerminal,
    asOffice2010Blue,
    asOffice2010Silver,
    asOffice2010Black,
    asWindows8,
    asOffice2013White,
    asOffice2013LightGray,
    asOffice2013Gray,
    asWindows10,
    asOffice2016White,
    asOffice2016Gray,
    asOffice2016Black
};
constexpr int kAlertStyleCount = 24;

enum TGradientDirection { gdHorizontal, gdVertical };
enum TWindowPosition { wpLeftTop, wpRightTop, wpLeftBottom, wpRightBottom, wpPreset, wpCenter };

struct TAlertStyleColors {
    TColor Window, WindowTo;      // body gradient
    TColor BtnDown, BtnDownTo;    // pressed button
    TColor BtnHover, BtnHoverTo;  // hovered button
    TColor Caption, CaptionTo;    // grip bar
    TColor Border;
    TColor Font;  // text colour
};

// The colours of a style; false for asCustom (which changes only the font colour, to black) and out-of-range
// values.
bool AlertStyleColors(int style, TAlertStyleColors& colors);

// Top-left corner of a W x H popup on the work area for a position; margins are MX, MY. wpCenter centres on the
// work area itself (also when it does not start at the screen origin).
TPoint AlertWindowPlace(TWindowPosition position,
                        const TRect& work,
                        int width,
                        int height,
                        int marginX,
                        int marginY,
                        TPoint preset);
