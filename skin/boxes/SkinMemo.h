// TbsSkinMemo2: the class library's memo with its font and background colour from the skin entry "memo", the
// skinned context menu, and scroll bars that are separate TbsSkinScrollBar controls placed beside it. The window has
// no border and no non-client area: its own scroll bars are switched on only so that it keeps its scroll state,
// which is copied to the external bars after everything that can change it.
//
// Ownership: the skin container and the bars are borrowed (cleared by notification; a bound bar's change handler is
// the memo's and is removed with it); the context menu and the default font are owned. GUI thread only.
#pragma once

#include <memory>
#include <string>

#include "classlib/StdCtrls.h"
#include "skin/form/SkinnedControl.h"

class TbsSkinData;
class TbsSkinPopupMenu;
class TbsSkinScrollBar;

class TbsSkinMemo2 : public TMemo, public IbsSkinnedControl {
  public:
    explicit TbsSkinMemo2(TComponent* AOwner);
    ~TbsSkinMemo2() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const std::wstring& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::wstring& Value) { FSkinDataName = Value; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* Value);
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TbsSkinScrollBar* Value);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // The entry found at the last lookup (-1: none).
    int SkinIndex() const { return FIndex; }
    bool MouseIn() const { return FMouseIn; }
    // The context menu while it is open (nullptr otherwise).
    TbsSkinPopupMenu* SysPopupMenu() const { return FSysPopupMenu; }
    // Lines that fit the client height in the memo's font (at least 1).
    int GetVisibleLines();
    // The text colour of a disabled memo: the skin's "edit" entry's, else clGrayText.
    TColor GetDisabledFontColor();

    // Copies the window's scroll state to the external bars.
    void UpDateScrollRange();

    // IbsSkinnedControl.
    TbsSkinData* ControlSkinData() const override { return FSD; }
    void ChangeSkinData() override;

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void Change() override;

  private:
    void GetSkinData();
    void SetActiveLook(bool Active);
    void PaintDisabled(HDC DC);
    void ShowSysMenu(int X, int Y);
    void BindBar(TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, bool Vertical);
    void BarChanged(bool Vertical);

    TbsSkinData* FSD = nullptr;  // borrowed
    std::wstring FSkinDataName = L"memo";
    int FIndex = -1;
    bool FMouseIn = false;
    TbsSkinScrollBar* FVScrollBar = nullptr;  // borrowed
    TbsSkinScrollBar* FHScrollBar = nullptr;  // borrowed
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    bool FUseSkinFontColor = true;
    TbsSkinPopupMenu* FSysPopupMenu = nullptr;  // owned by this memo

    // The skin entry's copies.
    std::wstring FontName;
    TFontStyles FontStyle;
    int FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, BGColor = 0, ActiveBGColor = 0;
};
