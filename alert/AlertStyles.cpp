// Colour table of the 24 alert styles and the placement arithmetic.
#include "alert/AlertStyles.h"

namespace {

// Integer division toward zero, as the placement table defines it (C++ '/' does the same).
int Div(int a, int b) {
    return a / b;
}

}  // namespace

bool AlertStyleColors(int style, TAlertStyleColors& c) {
    static const TAlertStyleColors kStyles[kAlertStyleCount] = {
        {0xFADAC4, 0xF5BFA0, 0x087FE8, 0x7CDAF7, 0xDCFFFF, 0x5BC0F7, 0xD68759, 0x962D00, 0x962D00, clBlack},
        {0xF7F3F3, 0xE6D8D8, 0x087FE8, 0x7CDAF7, 0xDCFFFF, 0x5BC0F7, 0xBFA7A8, 0x947C7C, 0x947C7C, clBlack},
        {0xE4F1F2, 0xAADADA, 0x087FE8, 0x7CDAF7, 0xDCFFFF, 0x5BC0F7, 0x6F8E78, 0x588060, 0x588060, clBlack},
        {0xFFFFFF, 0xC9D1D5, 0xB59285, 0xB59285, 0xD2BDB6, 0xD2BDB6, 0xC8D0D4, 0x8C8D8E, clActiveCaption, clBlack},
        {0xFFF4E3, 0xEDD9C8, 0x087FE8, 0x7CDAF7, 0xDCFFFF, 0x5BC0F7, 0xFFEFE3, 0xFFD2AF, 0xFFD2AF, clBlack},
        {0xF1F0E6, 0xC6BCB5, 0x087FE8, 0x7CDAF7, 0xDCFFFF, 0x5BC0F7, 0xF2F1F0, 0xC9C2BD, 0x5C534C, clBlack},
        {clBtnFace, clBtnFace, clHighlight, clHighlight, clInactiveCaption, clInactiveCaption, 0xFF0000, clHighlight,
         0x000000, clBlack},
        {0xF5F9FA, 0xA8C0C0, 0x087FE8, 0x7CDAF7, 0xDCFFFF, 0x5BC0F7, 0xEBEEEF, 0x7E9898, 0x7E9898, clBlack},
        {},  // asCustom
        {0xF8F7F6, 0xE8E0DB, 0x087FE8, 0x7CDAF7, 0xDCFFFF, 0x5BC0F7, 0xFAEEEB, 0xE2D8D4, 0x74706F, clBlack},
        {0xFDF8F1, 0xFCEFD5, 0xFEF9F0, 0xFDF0D7, 0xFFFDF9, 0xFFFAF0, 0xFBEDD3, 0xFAE9C6, 0xFDDE99, clBlack},
        {0xFCEBDC, 0xFCDBC1, 0xFCEBDC, 0xFCDBC1, 0xFDFBFA, 0xFDF3EB, 0xFBEDD3, clHighlight, 0xCEA27D, clBlack},
        {clBtnFace, clBtnFace, clHighlight, clHighlight, 0xC0C0C0, 0xC0C0C0, clHighlight, clHighlight, 0x808080,
         clBlack},
        {0xFDF6EF, 0xF0DAC7, 0x6CD0FF, 0x6CD0FF, 0x8AE3FD, 0x8AE3FD, 0xEAD3BF, 0xEAD3BF, 0xC7B29F, clBlack},
        {0xFFFFFF, 0xEDE5E0, 0x6CD0FF, 0x6CD0FF, 0x8AE3FD, 0x8AE3FD, 0xD4CFCB, 0xD4CFCB, 0xD2CDC8, clBlack},
        {0xBFBFBF, 0x919191, 0x6CD0FF, 0x6CD0FF, 0x8AE3FD, 0x8AE3FD, 0x656565, 0x656565, 0x6D6D6D, clBlack},
        {0xFFFFFF, 0xFFFFFF, 0xF7E0C9, 0xF7E0C9, 0xF7EFE8, 0xF7EFE8, 0xF7F6F5, 0xF7F6F5, 0xE4E3E2, clBlack},
        {0xFFFFFF, 0xFFFFFF, 0xFCE2C8, 0xFCE2C8, 0xFCF0E4, 0xFCF0E4, 0xFFFFFF, 0xFFFFFF, 0xD4D4D4, clBlack},
        {0xFFFFFF, 0xFFFFFF, 0xFCE2C8, 0xFCE2C8, 0xFCF0E4, 0xFCF0E4, 0xF6F6F6, 0xF6F6F6, 0xC6C6C6, clBlack},
        {0xFFFFFF, 0xFFFFFF, 0xFCE2C8, 0xFCE2C8, 0xFCF0E4, 0xFCF0E4, 0xE5E5E5, 0xE5E5E5, 0xABABAB, clBlack},
        {0xFFFFFF, 0xFFFFFF, 0xF7E0C9, 0xF7E0C9, 0xF7EFE8, 0xF7EFE8, 0xF7F6F5, 0xF7F6F5, 0xE4E3E2, clBlack},
        {0xFFFFFF, 0xFFFFFF, 0xE3BDA3, 0xE3BDA3, 0xF2E1D5, 0xF2E1D5, 0xFFFFFF, 0xFFFFFF, 0xD4D4D4, clBlack},
        {0xB2B2B2, 0xB2B2B2, 0xE3BDA3, 0xE3BDA3, 0xF2E1D5, 0xF2E1D5, 0xB2B2B2, 0xB2B2B2, 0x444444, clBlack},
        {0x363636, 0x363636, 0x444444, 0x444444, 0x6A6A6A, 0x6A6A6A, 0x363636, 0x363636, 0x444444, 0xA6A6A6},
    };
    if (style < 0 || style >= kAlertStyleCount || style == asCustom)
        return false;
    c = kStyles[style];
    return true;
}

TPoint AlertWindowPlace(TWindowPosition position, const TRect& work, int w, int h, int mx, int my, TPoint preset) {
    const int left = work.Left + mx + 2;  // the two-pixel inset is horizontal only
    const int right = work.Right - w - mx - 2;
    switch (position) {
        case wpLeftTop:
            return {left, work.Top + my};
        case wpRightTop:
            return {right, work.Top + my};
        case wpLeftBottom:
            return {left, work.Bottom - h - my};
        case wpRightBottom:
            return {right, work.Bottom - h - my};
        case wpPreset:
            return preset;
        case wpCenter:
            return {Div(work.Right - work.Left - w - mx, 2) + work.Left,
                    Div(work.Bottom - work.Top - h - my, 2) + work.Top};
    }
    return preset;
}
