// The skinned one-line edits. TbsCustomEdit is a masked edit that repaints itself off-screen over a background of
// its own (the native edit draws only its text, transparently, into a memory DC), keeps a read-only mode of its own
// (the window stays writable so that its caret and selection behave as usual), hands Enter and Esc to its form and
// shows a skinned context menu. TbsSkinNumEdit accepts numbers only. TbsSkinCustomEdit draws a skin entry's frame in
// the non-client area, an optional push button at its right end and image buttons inside its client area;
// TbsSkinEdit and TbsSkinMaskEdit are the forms placed on pages.
//
// The window is multi-line (the formatting rectangle can only be set on such an edit), so no line break may reach
// it: Enter goes to the form, a typed line feed is dropped and a paste keeps its first line.
//
// Index: TbsOnEditCancelMode, TbsCustomEdit, TbsSkinNumEdit, TbsCBButtonX, TbsSkinCustomEdit, TbsSkinEdit,
// TbsSkinMaskEdit, kHitLeftImage, kHitRightImage.
//
// Ownership: the skin container and the image list are borrowed (cleared by notification); the context menu and the
// default font are owned. GUI thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "classlib/ImgList.h"
#include "classlib/Mask.h"
#include "skin/boxes/EditLogic.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinnedControl.h"

class TbsSkinData;
class TbsSkinPopupMenu;
class IbsControlTimer;

// CM_SENCPAINT draws the whole frame into the DC in wParam and answers this; CM_BENCPAINT (only with lParam
// kBENCPaintKey) leaves the text area out.
constexpr LRESULT kSENCPaintResult = 12851;
// Hit codes of the left and right image buttons (their presses arrive as non-client messages).
constexpr LRESULT kHitLeftImage = 104;
constexpr LRESULT kHitRightImage = 105;

using TbsOnEditCancelMode = std::function<void(TControl* Sender)>;

class TbsCustomEdit : public TCustomMaskEdit {
  public:
    explicit TbsCustomEdit(TComponent* AOwner);
    ~TbsCustomEdit() override;

    // The edit's own read-only mode (the window is never made read-only).
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool EditTransparent() const { return FEditTransparent; }
    void SetEditTransparent(bool Value);
    bool IsSelected();
    bool IsFullSelected();
    // The mask with its ":" and "/" read as TimeSeparator and DateSeparator (the locale's unless set before).
    void SetEditMask(const std::wstring& Value);
    wchar_t TimeSeparator;
    wchar_t DateSeparator;

    // Repaints the client area off-screen: background, then the window's own text on top, copied in one go.
    virtual void DoPaint();
    // The same into DC (client coordinates).
    void DoPaint2(HDC DC);

    // The context menu while it is open (nullptr otherwise).
    TbsSkinPopupMenu* SysPopupMenu() const { return FSysPopupMenu; }

    TbsOnEditCancelMode OnEditCancelMode;
    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void Change() override;
    // Client-area width and height the off-screen bitmap covers.
    virtual void PaintSize(int& W, int& H);
    // The background under the text (during an off-screen repaint).
    virtual void DrawEditBackground(HDC DC);
    // Paints the text when the window does not (a disabled skinned edit); false: the window paints.
    virtual bool PaintOwnText(HDC /*DC*/) { return false; }
    // The string table of the context menu (nullptr: the fixed captions).
    class TbsResourceStrData* FindResourceStrData();
    void ShowSysMenu(int X, int Y);

    bool FDown = false;
    bool FEditTransparent = false;
    bool FStopDraw = false;

  private:
    void PasteFirstLine();
    bool FReadOnly = false;
    TbsSkinPopupMenu* FSysPopupMenu = nullptr;  // owned by this edit
};

class TbsSkinNumEdit : public TbsCustomEdit {
  public:
    explicit TbsSkinNumEdit(TComponent* AOwner);

    bool EditorEnabled = true;
    bool Float = false;
    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    bool IsValidChar(wchar_t Key);
    void WndProc(TMessage& Message) override;

  protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
};

struct TbsCBButtonX {
    TRect R{};
    bool MouseIn = false;
    bool Down = false;
};

class TbsSkinCustomEdit : public TbsCustomEdit, public IbsSkinnedControl {
  public:
    explicit TbsSkinCustomEdit(TComponent* AOwner);
    ~TbsSkinCustomEdit() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const std::wstring& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::wstring& Value) { FSkinDataName = Value; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    bool ButtonMode() const { return FButtonMode; }
    void SetButtonMode(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int LeftImageIndex() const { return FLeftImageIndex; }
    void SetLeftImageIndex(int Value);
    int RightImageIndex() const { return FRightImageIndex; }
    void SetRightImageIndex(int Value);
    int LeftImageHotIndex = -1, RightImageHotIndex = -1;
    int LeftImageDownIndex = -1, RightImageDownIndex = -1;
    int ButtonImageIndex() const { return FButtonImageIndex; }
    void SetButtonImageIndex(int Value);

    TNotifyEvent OnButtonClick;
    TNotifyEvent OnLeftButtonClick;
    TNotifyEvent OnRightButtonClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // The entry found at the last lookup (-1: none, the built-in look).
    int SkinIndex() const { return FIndex; }
    // The text area and the push button in window coordinates; the image buttons in client coordinates.
    TRect EditRect() const { return FEditRect; }
    TRect ButtonRect() const { return FButtonRect; }
    const TbsCBButtonX& LeftButton() const { return FLeftButton; }
    const TbsCBButtonX& RightButton() const { return FRightButton; }
    bool MouseIn() const { return FMouseIn; }
    bool ButtonDown() const { return FButtonDown; }
    bool ButtonActive() const { return FButtonActive; }

    // IbsSkinnedControl.
    TbsSkinData* ControlSkinData() const override { return FSD; }
    void ChangeSkinData() override;

    // The whole control as it looks with AText as its text, at (X, Y) of C.
    void PaintSkinTo(TCanvas* C, int X, int Y, const std::wstring& AText);
    // The same in the hot look (mouse over or focused) when Hot; needs no window.
    void PaintLookTo(TCanvas* C, int X, int Y, const std::wstring& AText, bool Hot);
    void InvalidateNC();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void PaintSize(int& W, int& H) override;
    void DrawEditBackground(HDC DC) override;
    bool PaintOwnText(HDC DC) override;
    void GetSkinData();
    TbsEditFrame Frame() const;
    void CalcRects();
    int CalcEditHeight();
    void AdjustTextRect(bool SetRect);
    // The whole-control image (frame, button, image) into B of the control's size; Plain: the normal state
    // without a button state picture (the look of a copy painted elsewhere).
    void DrawFrameImage(TBitmap* B, bool Hot, bool Plain);
    // The text font of the skin entry or DefaultFont, with the normal or disabled colour.
    void SelectTextFont(TCanvas* C, bool Disabled);
    void DrawButtonImages(HDC DC);
    // The picture under the text, W x H at (0, 0) of DC.
    void DrawTextAreaBackground(HDC DC, int W, int H, bool Hot);
    void DrawResizeButton(TCanvas* C, const TRect& R);
    void PaintNC(HDC DC, bool ExcludeEdit);
    void ApplyFontColor();
    void MouseEnter();
    void MouseLeave();
    bool CheckActivation() const;

    TbsSkinData* FSD = nullptr;  // borrowed
    std::wstring FSkinDataName = L"edit";
    int FIndex = -1;
    TBitmap* Picture = nullptr;  // borrowed from the container
    int LOffset = 0, ROffset = 0;
    TRect ClRect{}, SkinRect{}, ActiveSkinRect{};
    std::wstring FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, DisabledFontColor = 0, ActiveFontColor = 0;
    TRect SkinButtonRect{}, ActiveButtonRect{}, DownButtonRect{}, UnEnabledButtonRect{};
    bool StretchEffect = false;
    bool FOwnActiveRect = false;  // the entry has a hot picture of its own

    bool FUseSkinFont = true;
    std::unique_ptr<TFont> FDefaultFont;
    TColor FDefaultColor = clWindow;
    int FDefaultWidth = 0, FDefaultHeight = 0;
    bool FButtonMode = false;
    TAlignment FAlignment = taLeftJustify;
    TCustomImageList* FImages = nullptr;  // borrowed
    int FLeftImageIndex = -1, FRightImageIndex = -1, FButtonImageIndex = -1;

    TbsCBButtonX FLeftButton, FRightButton;
    TRect FButtonRect{}, FEditRect{};
    bool FButtonDown = false, FButtonActive = false, FMouseIn = false;

  private:
    bool HasEntry() const { return FIndex != -1 && Picture; }
    std::unique_ptr<IbsControlTimer> FHoverTimer;
};

class TbsSkinEdit : public TbsSkinCustomEdit {
  public:
    using TbsSkinCustomEdit::TbsSkinCustomEdit;
};

class TbsSkinMaskEdit : public TbsSkinEdit {
  public:
    using TbsSkinEdit::TbsSkinEdit;
};
