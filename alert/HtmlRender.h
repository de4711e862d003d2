// The mini-HTML renderer: lays a message text out line by line inside a rectangle and draws it (paint), only
// measures it (MeasureOnly) or finds the link under a point (HitOnly), with the same layout in every mode.
// Index: THtmlParams, THtmlResult, DrawHtml.
//
// Tags: A B BR BODY BL* E FONT HI HR I IND IMG LI OL OFS P R S ST* SH* SPAN SUB SUP U UL Z and their closing
// forms; others are dropped. Pictures: "IDX:n" (Images), "SSYS:"/"LSYS:" (shell icons of local paths), a name
// (PictureContainer), a URL with "://" (PictureCache; RES:// and FILE:// only). GUI thread only.
#pragma once

#include <string>

#include "alert/HtmlPicture.h"
#include "classlib/Graphics.h"
#include "classlib/ImgList.h"

struct THtmlParams {
    bool RightToLeft = false;  // right-to-left reading (BiDiMode bdRightToLeft)
    int LineSpacing = 0;
    TPictureContainer* PictureContainer = nullptr;
    THTMLPictureCache* PictureCache = nullptr;
    TColor ShadowColor = 0x808080;
    TColor HoverFontColor = clNone;
    TColor HoverBrushColor = clNone;
    TColor URLColor = clBlue;
    double ImageScale = 1.0;
    bool WordWrap = true;
    bool HoverEnabled = false;  // only the hovered link is underlined
    bool BlinkVisible = true;
    bool NoColors = false;
    bool PrintMode = false;
    bool MeasureOnly = false;
    bool HitOnly = false;
    int ShadowOffset = 1;
    int HoverLink = -1;  // number of the hovered link (links count from 1)
    int FocusLink = -1;  // number - 1 of the link framed with a focus rectangle
    int HitX = 0, HitY = 0;
    TCustomImageList* Images = nullptr;
};

struct THtmlResult {
    bool Hit = false;     // a link lies under HitX, HitY
    TRect HitRect{};      // that link's area
    int LinkNumber = -1;  // its number, -1 when none
    int LinkCount = 0;    // links met
    int XSize = 0, YSize = 0;
    std::wstring Title;      // TITLE of the link under the point
    std::wstring Anchor;     // HREF of the link under the point
    std::wstring PlainText;  // text without tags, lines separated by a carriage return
};

// Lays out text in rect on canvas (its font is the starting font, its brush colour the background). Keeps the
// canvas's font and brush as they were. Returns Result.Hit.
bool DrawHtml(TCanvas* canvas,
              const std::wstring& text,
              const TRect& rect,
              const THtmlParams& params,
              THtmlResult& result);
