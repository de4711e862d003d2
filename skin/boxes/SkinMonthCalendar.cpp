#include "skin/boxes/SkinMonthCalendar.h"

#include <windows.h>

#include <algorithm>

#include "classlib/Forms.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/controls/PopupFade.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/core/GlyphPainters.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/SkinPopupMenu.h"

namespace {

constexpr int kButtonSize = 23;
// The button order: previous month, next month, previous year, next year.
const wchar_t* const kGlyphNames[4] = {L"BS_PRIORMONTH", L"BS_NEXTMONTH", L"BS_PRIORYEAR", L"BS_NEXTYEAR"};
constexpr int kRepeatMs[4] = {200, 200, 50, 50};

bool SystemSpeaksChinese() {
    return PRIMARYLANGID(GetSystemDefaultLangID()) == LANG_CHINESE;
}

TColor Blend(TColor Back, TColor Fore, int Alpha) {
    const auto b = static_cast<COLORREF>(ColorToRGB(Back)), f = static_cast<COLORREF>(ColorToRGB(Fore));
    auto mix = [Alpha](int bc, int fc) { return (fc * Alpha + bc * (255 - Alpha)) / 255; };
    return static_cast<TColor>(
        RGB(mix(GetRValue(b), GetRValue(f)), mix(GetGValue(b), GetGValue(f)), mix(GetBValue(b), GetBValue(f))));
}

}  // namespace

const std::wstring& CalendarTodayCaption() {
    static const std::wstring caption = [] {
        std::wstring s;
        if (HMODULE lib = LoadLibraryW(L"Comctl32")) {
            wchar_t buf[256] = {};
            const int n = LoadStringW(lib, 4163, buf, 255);
            if (n > 0)
                s.assign(buf, static_cast<size_t>(n));
            FreeLibrary(lib);
        }
        return s;
    }();
    return caption;
}

// ---- TbsSkinMonthCalendar -------------------------------------------------------------------------------------------
TbsSkinMonthCalendar::TbsSkinMonthCalendar(TComponent* AOwner)
    : TbsSkinPanel(AOwner),
      FIsChina(SystemSpeaksChinese()),
      FFormat(FormatSettings),
      FTodayCaption(CalendarTodayCaption()) {
    FDate = Now();
    FForceBackground = false;
    SetWidth(200);
    SetHeight(150);
    for (int i = 0; i < 4; ++i) {
        auto* b = new TbsSkinSpeedButton(this);
        b->SetSkinDataName(L"resizebutton");
        b->SetBounds(0, 0, kButtonSize, kButtonSize);
        b->SetRepeatMode(true);
        b->SetRepeatInterval(kRepeatMs[i]);
        b->OnClick = [this, i](TObject*) { StepClick(i); };
        b->SetParent(this);
        FBtns[i] = b;
    }
    MakeGlyphs();
    ArrangeButtons();
}

TbsSkinMonthCalendar::~TbsSkinMonthCalendar() = default;

TbsSkinSpeedButton* TbsSkinMonthCalendar::Button(int Index) const {
    return Index >= 0 && Index < 4 ? FBtns[Index] : nullptr;
}

void TbsSkinMonthCalendar::SetDate(TDateTime Value) {
    FDate = Value;
    Invalidate();
}

void TbsSkinMonthCalendar::SetFirstDayOfWeek(TbsDaysOfWeek Value) {
    FFirstDayOfWeek = Value;
    Invalidate();
}

void TbsSkinMonthCalendar::SetWeekNumbers(bool Value) {
    if (FWeekNumbers == Value)
        return;
    FWeekNumbers = Value;
    Invalidate();
}

void TbsSkinMonthCalendar::SetShowToday(bool Value) {
    if (FShowToday == Value)
        return;
    FShowToday = Value;
    Invalidate();
}

void TbsSkinMonthCalendar::SetTodayDefault(bool Value) {
    FTodayDefault = Value;
    if (FTodayDefault)
        SetDate(CurrentMoment());
}

void TbsSkinMonthCalendar::SetBoldDays(bool Value) {
    FBoldDays = Value;
    Invalidate();
}

void TbsSkinMonthCalendar::SetIsChina(bool Value) {
    FIsChina = Value;
    Invalidate();
}

void TbsSkinMonthCalendar::SetCalendarFormat(const TFormatSettings& Value) {
    FFormat = Value;
    // The menu takes the month names again at its next opening.
    if (FMonthMenu)
        FMonthMenu->Items()->Clear();
    Invalidate();
}

void TbsSkinMonthCalendar::SetTodayCaption(const std::wstring& Value) {
    FTodayCaption = Value;
    Invalidate();
}

void TbsSkinMonthCalendar::Loaded() {
    TbsSkinPanel::Loaded();
    if (FTodayDefault)
        SetDate(CurrentMoment());
}

void TbsSkinMonthCalendar::SetSkinData(TbsSkinData* Value) {
    TbsSkinPanel::SetSkinData(Value);
    for (TbsSkinSpeedButton* b : FBtns)
        if (b)
            b->SetSkinData(Value);
    MakeGlyphs();
    ArrangeButtons();
}

void TbsSkinMonthCalendar::ChangeSkinData() {
    if (FSD && !FSD->Empty) {
        const int index = LookupSkinEntry(FSD, L"stdlabel");
        TbsDataSkinControl* e = SkinEntryAt(FSD, index);
        if (auto* label = dynamic_cast<TbsDataSkinStdLabelControl*>(e)) {
            CalFontColor = static_cast<TColor>(label->FontColor);
            CalActiveFontColor = static_cast<TColor>(label->ActiveFontColor);
        } else if (e) {
            // An entry of another kind gives its font colour to both where it has one.
            if (auto* button = dynamic_cast<TbsDataSkinButtonControl*>(e))
                CalFontColor = CalActiveFontColor = static_cast<TColor>(button->FontColor);
        }
    }
    TbsSkinPanel::ChangeSkinData();
    MakeGlyphs();
    ArrangeButtons();
    Invalidate();
}

void TbsSkinMonthCalendar::SetDefaultCaptionHeight(int Value) {
    TbsSkinPanel::SetDefaultCaptionHeight(Value);
    ArrangeButtons();
    Invalidate();
}

void TbsSkinMonthCalendar::SetCaptionMode(bool Value) {
    TbsSkinPanel::SetCaptionMode(Value);
    ArrangeButtons();
    Invalidate();
}

void TbsSkinMonthCalendar::MakeGlyphs() {
    // The arrows take the buttons' text colour, so they read on light and dark skins alike.
    TColor color = clBtnText;
    const int index = LookupSkinEntry(FSD, L"resizebutton");
    if (auto* e = dynamic_cast<TbsDataSkinButtonControl*>(SkinEntryAt(FSD, index)))
        color = static_cast<TColor>(e->FontColor);
    for (int i = 0; i < 4; ++i) {
        if (!FBtns[i])
            continue;
        TBitmap glyph;
        if (MakeNamedGlyph(kGlyphNames[i], color, &glyph))
            FBtns[i]->SetGlyph(&glyph);
    }
}

void TbsSkinMonthCalendar::ArrangeButtons() {
    if (!FBtns[0])
        return;
    const TRect r = GetSkinClientRect();
    auto place = [](TbsSkinSpeedButton* b, int x, int y) { b->SetBounds(x, y, b->Width(), b->Height()); };
    place(FBtns[2], r.Left + 1, r.Top + 1);
    place(FBtns[0], r.Left + 1 + 24, r.Top + 1);
    place(FBtns[3], r.Right - 24, r.Top + 1);
    place(FBtns[1], r.Right - 24 - 24, r.Top + 1);
}

void TbsSkinMonthCalendar::StepClick(int Which) {
    switch (Which) {
        case 0:
            SetDate(StepMonth(FDate, -1));
            break;
        case 1:
            SetDate(StepMonth(FDate, 1));
            break;
        default: {
            TDateTime d = 0;
            if (StepYear(FDate, Which == 3 ? 1 : -1, d))
                SetDate(d);
            break;
        }
    }
    Click();
}

void TbsSkinMonthCalendar::OpenMonthMenu(int X, int Y) {
    if (!FMonthMenu) {
        FMonthMenu = new TbsSkinPopupMenu(this);
        FMonthMenu->OnMenuClose = [this](TObject*) { FMenuPopup = false; };
    }
    if (FMonthMenu->Items()->Count() == 0) {
        for (int m = 1; m <= 12; ++m) {
            auto* item = new TMenuItem(FMonthMenu);
            item->SetCaption(FFormat.LongMonthNames[m - 1]);
            item->OnClick = [this, m](TObject*) {
                FMenuPopup = false;
                SetDate(WithMonth(FDate, m));
            };
            FMonthMenu->Items()->Add(item);
        }
    }
    FMonthMenu->SetSkinData(FSD);
    // The menu opens through the skinned form of the form the calendar shows on (a drop-down: its owner's form).
    TCustomForm* form = GetParentForm(this);
    if (!form)
        if (auto* owner = dynamic_cast<TControl*>(Owner()))
            form = GetParentForm(owner);
    FMonthMenu->SetComponentForm(form);
    const TPoint p = ClientToScreen({X, Y});
    FMenuPopup = true;
    FMonthMenu->Popup(p.X, p.Y);
}

void TbsSkinMonthCalendar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TbsSkinPanel::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    if (FShowMonthMenu && FBtns[0] && FBtns[1]) {
        const int left = FBtns[0]->Left() + FBtns[0]->Width(), right = FBtns[1]->Left();
        if (X > left && X < right && Y > 2 && Y <= FBtns[0]->Top() + FBtns[0]->Height()) {
            OpenMonthMenu(X, Y);
            return;
        }
    }
    int y = 0, m = 0, d = 0;
    DecodeDate(FDate, y, m, d);
    const int day = CalendarHitDay(FLayout, X, Y, y, m, FFirstDayOfWeek);
    if (day > 0) {
        SetDate(WithDay(FDate, day));
        if (OnNumberClick)
            OnNumberClick(this);
        return;
    }
    if (FShowToday && FBottomOffset > 0 && Y >= Height() - FBottomOffset) {
        SetDate(CurrentMoment());
        if (OnNumberClick)
            OnNumberClick(this);
    }
}

void TbsSkinMonthCalendar::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_ERASEBKGND:
            if (!FromWMPaint && Message.WParam) {
                PaintTo(reinterpret_cast<HDC>(Message.WParam), 0, 0);
                Message.Result = 1;
                return;
            }
            break;
        case WM_SIZE:
            TbsSkinPanel::WndProc(Message);
            ArrangeButtons();
            return;
        default:
            break;
    }
    TbsSkinPanel::WndProc(Message);
}

// ---- Painting -------------------------------------------------------------------------------------------------------
void TbsSkinMonthCalendar::Paint() {
    FDrawnInImage = false;
    TbsSkinPanel::Paint();
    // The panel's background-picture and client-tile ways draw straight onto the canvas.
    if (!FDrawnInImage && !EmptyDrawing() && Width() > 0 && Height() > 0)
        DrawCalendar(Canvas());
}

void TbsSkinMonthCalendar::PaintTransparent(TCanvas* C) {
    DrawCalendar(C);
    FDrawnInImage = true;
}

void TbsSkinMonthCalendar::CreateControlDefaultImage(TBitmap* B) {
    TbsSkinPanel::CreateControlDefaultImage(B);
    DrawCalendar(B->Canvas());
    FDrawnInImage = true;
}

void TbsSkinMonthCalendar::CreateControlSkinImage(TBitmap* B) {
    TbsSkinPanel::CreateControlSkinImage(B);
    DrawCalendar(B->Canvas());
    FDrawnInImage = true;
}

void TbsSkinMonthCalendar::DrawFadingLine(TCanvas* C, int X, int Y, int Length, bool Vertical, TColor Color) {
    const std::vector<std::uint8_t> alpha = FadeLineAlphas(Length);
    for (int i = 0; i < Length; ++i) {
        const int x = Vertical ? X : X + i, y = Vertical ? Y + i : Y;
        const int a = alpha[static_cast<size_t>(i)];
        if (a == 0)
            continue;
        const TColor back = C->Pixels(x, y);
        if (back == static_cast<TColor>(CLR_INVALID))
            continue;
        C->SetPixel(x, y, a == 255 ? Color : Blend(back, Color, a));
    }
}

void TbsSkinMonthCalendar::DrawSelectedFrame(TCanvas* C, const TRect& Cell, TColor& NumberColor) {
    const bool skin = SkinLookAvailable();
    if (skin) {
        const int index = LookupSkinEntry(FSD, L"resizebutton");
        auto* e = dynamic_cast<TbsDataSkinButtonControl*>(SkinEntryAt(FSD, index));
        TBitmap* picture = e ? SkinPictureAt(FSD, e->PictureIndex) : nullptr;
        if (e && picture) {
            TbsControlGeometry g;
            g.CopyFrom(*e);
            g.SkinRect = e->DownSkinRect.IsEmpty() ? e->SkinRect : e->DownSkinRect;
            int w = Cell.Width(), h = Cell.Height();
            g.CalcSize(true, w, h);
            if (w > 0 && h > 0 && RectInPicture(g.SkinRect, picture)) {
                TBitmap b(w, h);
                CreateSkinControlImage(&b, picture, g, w, h, false);
                C->CopyRect(Cell, b.Canvas(), {0, 0, b.Width(), b.Height()});
                NumberColor = static_cast<TColor>(e->DownFontColor);
                return;
            }
        }
    }
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(skin ? CalActiveFontColor : C->Font()->Color());
    C->Rectangle(Cell.Left, Cell.Top, Cell.Right, Cell.Bottom);
}

void TbsSkinMonthCalendar::DrawCalendar(TCanvas* C) {
    const bool skin = SkinLookAvailable();
    TRect r = GetSkinClientRect();
    if (FWeekNumbers)
        r.Left += Width() / 8;
    TFont* f = C->Font();
    f->Assign(DefaultFont());
    f->SetCharset(SkinFontCharset(FSD, DefaultFont()->Charset()));
    const int th = C->TextHeight(L"Wq");
    FBottomOffset = FShowToday ? th + 5 : 0;
    r.Bottom -= FBottomOffset;
    C->Brush()->SetStyle(bsClear);

    // The caption: month and year, bold, centred on the whole width.
    f->SetStyle(TFontStyles{fsBold});
    if (skin)
        f->SetColor(CalFontColor);
    const std::wstring caption = FormatDateTime(L"MMMM, yyyy", FDate, FFormat);
    C->TextOut(Width() / 2 - C->TextWidth(caption) / 2, r.Top + 2, caption);
    if (skin)
        f->SetColor(CalActiveFontColor);

    TbsCalendarLayout layout;
    layout.Valid = true;
    layout.R = r;
    layout.CellW = std::max((r.Width() - 2) / 7, 0);
    const int namesY = r.Top + 33;
    for (int i = 0; i < 7; ++i) {
        const std::wstring name =
            CalendarDayName(FFormat.ShortDayNames[(static_cast<int>(FFirstDayOfWeek) + i) % 7], FIsChina);
        C->TextOut(CalendarCellLeft(layout, i) + layout.CellW / 2 - C->TextWidth(name) / 2, namesY, name);
    }
    layout.BevelTop = namesY + th + 1;
    const TColor lineColor = f->Color();
    DrawFadingLine(C, r.Left, layout.BevelTop, r.Width(), false, lineColor);
    if (FWeekNumbers)
        DrawFadingLine(C, r.Left, layout.BevelTop, r.Bottom - layout.BevelTop, true, lineColor);

    f->SetStyle(FBoldDays ? TFontStyles{fsBold} : TFontStyles{});
    if (FShowToday) {
        const TColor saved = f->Color();
        if (skin)
            f->SetColor(CalFontColor);
        C->TextOut(r.Left, r.Bottom + 2,
                   FTodayCaption + L" " + FormatDateTime(FFormat.ShortDateFormat, CurrentMoment(), FFormat));
        f->SetColor(saved);
    }
    layout.CellH = std::max((r.Bottom - layout.BevelTop - 4) / 6, 0);
    if (skin)
        f->SetColor(CalFontColor);
    const TColor numberColor = f->Color();

    int year = 0, month = 0, selected = 0;
    DecodeDate(FDate, year, month, selected);
    const int column1 = FirstDayColumn(year, month, FFirstDayOfWeek);
    const int days = DaysInAMonth(year, month);
    const std::vector<int> weeks = FWeekNumbers ? RowWeekNumbers(year, month, FFirstDayOfWeek) : std::vector<int>();
    for (int row = 1; row <= 6; ++row) {
        const int bottom = CalendarRowBottom(layout, row);
        for (int col = 0; col < 7; ++col) {
            const int n = CellDay(column1, row, col);
            if (n < 1 || n > days)
                continue;
            const int left = CalendarCellLeft(layout, col);
            const std::wstring text = std::to_wstring(n);
            if (n == selected) {
                f->SetStyle(TFontStyles{fsBold});
                TColor color = f->Color();
                DrawSelectedFrame(C, {left, bottom - layout.CellH + 1, left + layout.CellW, bottom + 1}, color);
                f->SetColor(color);
            } else {
                f->SetStyle(TFontStyles{});
            }
            C->Brush()->SetStyle(bsClear);
            C->TextOut(left + layout.CellW / 2 - C->TextWidth(text) / 2,
                       bottom - layout.CellH / 2 - C->TextHeight(text) / 2, text);
            f->SetColor(numberColor);
        }
        const int week = FWeekNumbers ? weeks[static_cast<size_t>(row - 1)] : 0;
        if (week > 0) {
            f->SetColor(skin ? CalActiveFontColor : numberColor);
            const std::wstring text = std::to_wstring(week);
            const int left = CalendarCellLeft(layout, 0) - layout.CellW - 2;
            C->TextOut(left + layout.CellW / 2 - C->TextWidth(text) / 2,
                       bottom - layout.CellH / 2 - C->TextHeight(text) / 2, text);
            f->SetColor(numberColor);
        }
    }
    FLayout = layout;
}

// ---- TbsSkinPopupMonthCalendar --------------------------------------------------------------------------------------
TbsSkinPopupMonthCalendar::TbsSkinPopupMonthCalendar(TComponent* AOwner) : TbsSkinMonthCalendar(AOwner) {
    SetControlStyle(ControlStyle() + csReplicatable);
}

void TbsSkinPopupMonthCalendar::CreateParams(TCreateParams& Params) {
    TbsSkinMonthCalendar::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW;
    Params.WindowClass.style |= CS_SAVEBITS;
    if (CheckWXP())
        Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinPopupMonthCalendar::WndProc(TMessage& Message) {
    if (PopupOwnMessage(Message))
        return;
    TbsSkinMonthCalendar::WndProc(Message);
}
