// The skinned list box: a frame (TbsSkinCustomListBox) that hosts an owner-drawn native list (TbsListBox) without
// border or non-client area, paints the frame, an optional caption bar with three caption buttons, the items in
// three states and the background below the last item from the "listbox" entry, and drives the list through
// skinned scroll bars of its own, made while the content needs them. The inner list keeps its own (never shown)
// scroll range; the frame reads it. Every event of the inner list reaches the frame's handlers first, with the
// frame as Sender. GUI thread only.
#pragma once

#include <memory>
#include <string>

#include "classlib/StdCtrls.h"
#include "skin/controls/ControlSeam.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/boxes/SkinEdit.h"
#include "skin/form/SkinForm.h"

class TbsSkinCustomListBox;

using TbsDrawSkinItemEvent = std::function<void(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight,
                                                const TRect& TxtRect, TOwnerDrawState State)>;

class TbsListBox : public TListBox {
  public:
    explicit TbsListBox(TComponent* AOwner);
    TbsSkinCustomListBox* SkinListBox = nullptr;  // the owning frame (borrowed)
    int FHorizontalExtentValue = 0;

    void WndProc(TMessage& Message) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Click() override;
    // The item states the painting uses.
    TOwnerDrawState GetState(int Index);
    // Paints the visible items and the background below them into DC (the window's own painting).
    void PaintTo(HDC DC) { PaintWindow(DC); }
    // Paints the background of (X, Y, W, H) of the list into C (the skin's client tile, or clWindow).
    void PaintBGWH(TCanvas* C, int X, int Y, int W, int H);

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void PaintWindow(HDC DC) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void DoEnter() override;
    void DoExit() override;

  private:
    void PaintList(TCanvas* C);
    void DrawItemAt(TCanvas* C, int Index, const TRect& R, TOwnerDrawState State);
    void DrawDefaultItem(TCanvas* C, int Index, const TRect& R, TOwnerDrawState State);
    void DrawSkinItem(TCanvas* C, int Index, const TRect& R, TOwnerDrawState State);
    void DrawStretchSkinItem(TCanvas* C, int Index, const TRect& R, TOwnerDrawState State);
    void DrawContent(TCanvas* C, int Index, const TRect& TextRect, int W, int H, TOwnerDrawState State);
    void PaintClipBG(HDC DC);
    void WheelStep(int Delta);
};

class TbsSkinCustomListBox : public TbsSkinCustomControl {
    friend class TbsListBox;

  public:
    explicit TbsSkinCustomListBox(TComponent* AOwner);
    ~TbsSkinCustomListBox() override;

    TbsListBox* ListBox = nullptr;  // the inner window (a child component)
    TbsSkinScrollBar* ScrollBar = nullptr;
    TbsSkinScrollBar* HScrollBar = nullptr;

    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void UpDateScrollBar();
    int CalcHeight(int AItemsCount);
    void Clear();
    int ItemAtPos(TPoint Pos, bool Existing) { return ListBox->ItemAtPos(Pos, Existing); }
    TRect ItemRect(int Item) { return ListBox->ItemRect(Item); }
    bool Selected(int Index) { return ListBox->Selected(Index); }
    int SelCount() { return ListBox->SelCount(); }
    int TopIndex() { return ListBox->TopIndex(); }
    void SetTopIndex(int Value) { ListBox->SetTopIndex(Value); }
    TCanvas* ListBoxCanvas() { return ListBox->Canvas(); }
    // Where the inner list sits now.
    TRect ListRectNow() const { return ListRect; }

    TStrings* Items() { return ListBox->Items(); }
    void SetItems(TStrings* Value);
    int ItemIndex() { return ListBox->ItemIndex(); }
    void SetItemIndex(int Value) { ListBox->SetItemIndex(Value); }
    bool MultiSelect() const { return ListBox->MultiSelect(); }
    void SetMultiSelect(bool Value) { ListBox->SetMultiSelect(Value); }
    bool Sorted() const { return ListBox->Sorted(); }
    void SetSorted(bool Value);
    int Columns() const { return FColumns; }
    void SetColumns(int Value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    bool HorizontalExtent() const { return FHorizontalExtent; }
    void SetHorizontalExtent(bool Value);
    TStrings* TabWidths() { return FTabWidths.get(); }
    void SetTabWidths(TStrings* Value);
    bool UseSkinItemHeight() const { return FUseSkinItemHeight; }
    void SetUseSkinItemHeight(bool Value) { FUseSkinItemHeight = Value; }
    int DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(int Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TBitmap* Glyph() { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int Value);
    bool CaptionMode() const { return FCaptionMode; }
    void SetCaptionMode(bool Value);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    void SetDefaultCaptionHeight(int Value);
    TFont* DefaultCaptionFont() { return FDefaultCaptionFont.get(); }
    void SetDefaultCaptionFont(TFont* Value) { FDefaultCaptionFont->Assign(Value); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool ShowCaptionButtons() const { return FShowCaptionButtons; }
    void SetShowCaptionButtons(bool Value);
    TFont* ListBoxFont() { return ListBox->Font(); }
    // The caption buttons' places and states (0 up, 1 down, 2 check).
    const TbsCBButtonX& CaptionButton(int I) const { return Buttons[I]; }

    TNotifyEvent OnUpButtonClick, OnDownButtonClick, OnCheckButtonClick;
    TNotifyEvent OnListBoxClick, OnListBoxDblClick;
    TMouseEvent OnListBoxMouseDown, OnListBoxMouseUp;
    TMouseMoveEvent OnListBoxMouseMove;
    TKeyEvent OnListBoxKeyDown, OnListBoxKeyUp;
    TKeyPressEvent OnListBoxKeyPress;
    TbsDrawSkinItemEvent OnDrawItem;

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BeforeDestruction() override;

  protected:
    virtual int GetFullItemWidth(int Index, TCanvas* ACanvas);
    virtual void ListBoxMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void ListBoxMouseMove(TShiftState Shift, int X, int Y);
    virtual void ListBoxMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void ListBoxClick();
    virtual void ListBoxDblClick();
    virtual void ListBoxKeyDown(WORD& Key, TShiftState Shift);
    virtual void ListBoxKeyUp(WORD& Key, TShiftState Shift);
    virtual void ListBoxKeyPress(wchar_t& Key);
    virtual void ListBoxEnter() {}
    virtual void ListBoxExit() {}
    virtual void ListBoxWProc(TMessage& Message, bool& Continue);
    virtual void ListBoxCreateWnd() {}

    void GetSkinData() override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void DefaultFontChange() override;
    void CreateParams(TCreateParams& Params) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    void CalcRects();
    bool HasSkin() const { return FIndex != -1 && SkinLookAvailable(); }
    // The skin item font (or DefaultFont) with the resource character set, into F.
    void SkinItemFont(TFont* F);

    TRect NewClRect, ListRect, NewCaptionRect;
    TbsCBButtonX Buttons[3];
    int OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
    int TimerMode = 0;
    bool WaitMode = false;
    bool FStopUpDateHScrollBar = false;

    // The entry's copies.
    std::wstring FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TRect SItemRect, ActiveItemRect, FocusItemRect, ItemTextRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0;
    TRect CaptionRect;
    std::wstring CaptionFontName;
    TFontStyles CaptionFontStyle;
    int CaptionFontHeight = 0;
    TColor CaptionFontColor = 0;
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
        DownDownButtonRect, CheckButtonRect, ActiveCheckButtonRect, DownCheckButtonRect;
    std::wstring VScrollBarName, HScrollBarName, BothScrollBarName;
    bool ShowFocus = false;
    TRect ButtonsArea, DisabledButtonsRect;

  private:
    void ShowScrollBar();
    void HideScrollBar();
    void ShowHScrollBar();
    void HideHScrollBar();
    void BindBarSkins();
    void SBChange();
    void HSBChange();
    bool ButtonsActive();
    void TestActive(int X, int Y);
    void ButtonDown(int I);
    void ButtonUp(int I, int X, int Y);
    void DrawButton(TCanvas* C, int I);
    void DrawCaption(TCanvas* C, const TRect& R, TFont* F, int Margin, int GlyphLift);
    int GetGlyphTextWidth(TCanvas* C);
    void StartTimer(unsigned Ms);
    void StopTimer();
    void TimerTick();

    std::unique_ptr<TStrings> FTabWidths;
    bool FShowCaptionButtons = true;
    bool FUseSkinItemHeight = true;
    bool FHorizontalExtent = false;
    int FRowCount = 0;
    int FColumns = 0;
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    int FSpacing = 2;
    TCustomImageList* FImages = nullptr;  // borrowed
    int FImageIndex = -1;
    int FDefaultItemHeight = 20;
    int FDefaultCaptionHeight = 20;
    std::unique_ptr<TFont> FDefaultCaptionFont;
    bool FCaptionMode = false;
    TAlignment FAlignment = taLeftJustify;
    std::unique_ptr<IbsControlTimer> FTimer;
};

class TbsSkinListBox : public TbsSkinCustomListBox {
  public:
    using TbsSkinCustomListBox::TbsSkinCustomListBox;
};
