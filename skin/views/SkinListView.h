// TbsSkinCustomListView, TbsSkinListView: the class library's list view with three skinned layers on the native
// control. Its background, font and grid-line colour come from a list-view entry; its column header is subclassed
// and painted wholly by the view from a button-kind entry ("header", else "resizetoolbutton"); with DrawSkin on,
// every item is drawn by the view after the native drawing from a list-box-kind entry and a check-box entry. The
// native scroll bars get no room (no non-client area); up to two external TbsSkinScrollBars mirror the native
// scroll state and scroll the view. Every layer falls back to a built-in look in system colours.
// GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "classlib/ComCtrls.h"
#include "skin/core/SkinTypes.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinnedControl.h"
#include "skin/views/ViewGeometry.h"

class TbsSkinData;
class TbsSkinScrollBar;

// Paints the view's header onto the device context in wParam (CM_SENCPAINT, its companion, is the form's).
constexpr UINT CM_SEPAINT = 0xB1C8;

using TbsDrawSkinSubItemEvent = std::function<void(TCustomListView* Sender, TListItem* Item, int SubItemIndex,
                                                   TCustomDrawState State, TCanvas* ACanvas, const TRect& ADrawRect)>;
using TbsDrawHeaderSectionEvent =
    std::function<void(TCanvas* Cnvs, TListColumn* Column, bool Pressed, const TRect& R)>;
using TbsDrawItemImageEvent = std::function<void(TListItem* AItem, TCanvas* ACanvas, const TRect& ARect)>;

class TbsSkinCustomListView : public TCustomListView, public IbsSkinnedControl {
  public:
    explicit TbsSkinCustomListView(TComponent* AOwner);
    ~TbsSkinCustomListView() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const std::wstring& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::wstring& Value) { FSkinDataName = Value; }
    const std::wstring& HeaderSkinDataName() const { return FHeaderSkinDataName; }
    void SetHeaderSkinDataName(const std::wstring& Value) { FHeaderSkinDataName = Value; }
    const std::wstring& ItemSkinDataName() const { return FItemSkinDataName; }
    void SetItemSkinDataName(const std::wstring& Value) { FItemSkinDataName = Value; }
    const std::wstring& CheckSkinDataName() const { return FCheckSkinDataName; }
    void SetCheckSkinDataName(const std::wstring& Value) { FCheckSkinDataName = Value; }

    bool DrawSkin() const { return FDrawSkin; }
    virtual void SetDrawSkin(bool Value);
    bool DrawSkinLines() const { return FDrawSkinLines; }
    void SetDrawSkinLines(bool Value) { FDrawSkinLines = Value; }
    bool AlternateRow() const { return FAlternateRow; }
    void SetAlternateRow(bool Value);
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    // The list-view entry found at the last skin change (-1: none).
    int SkinIndex() const { return FIndex; }
    // The grid-line colour of the view's own item drawing.
    TColor LineColor() const { return FLineColor; }

    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* Value);
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TbsSkinScrollBar* Value);

    // IbsSkinnedControl.
    TbsSkinData* ControlSkinData() const override { return FSD; }
    // Re-reads the list-view entry and applies it.
    void ChangeSkinData() override;
    // Copies the native scroll state to the bound bars.
    void UpDateScrollBars();

    // The header window the view paints (nullptr when none is subclassed) and its press state.
    HWND SubclassedHeader() const { return FHeaderHandle; }
    int ActiveSection() const { return FActiveSection; }
    bool HeaderDown() const { return FHeaderDown; }
    bool DividerDown() const { return FDevDown; }
    // Paints the header into DC (nullptr: the header's own paint cycle).
    void PaintHeader(HDC DC);

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

    TbsDrawSkinSubItemEvent OnDrawSkinSubItem;
    TbsDrawHeaderSectionEvent OnDrawHeaderSection;
    TbsDrawItemImageEvent OnDrawItemImage;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    // The item hook DrawSkin installs: draws the item after the native drawing.
    virtual void NewAdvancedDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState State,
                                     TCustomDrawStage Stage, bool& DefaultDraw);
    virtual void NewCustomDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState State,
                                   bool& DefaultDraw);
    void NewDrawItem(TListItem* Item, TCustomDrawState State);
    void NewDefaultDrawItem(TListItem* Item, TCustomDrawState State);
    // Item changes move the native scroll state.
    void Change();

  private:
    struct TItemGeometry;
    static LRESULT CALLBACK HeaderSubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id,
                                               DWORD_PTR RefData);
    LRESULT HeaderWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    void SubclassHeader(HWND Header);
    void ReleaseHeader();
    void CheckHeaderSubclass();
    TRect GetHeaderSectionRect(int Index);
    void HGetSkinData();
    void DrawHeaderSection(TCanvas* Cnvs, TListColumn* Column, bool Pressed, const TRect& R);
    void DrawHeaderRest(TCanvas* Cnvs, const TRect& R);
    void DrawItem(TListItem* Item, TCustomDrawState State, bool Skinned);
    TItemGeometry ItemGeometry(TListItem* Item);
    void DrawItemImage(TListItem* Item, const TItemGeometry& G, TRect& Icon);
    void DrawItemCheck(TListItem* Item, const TItemGeometry& G, const TRect& Icon, bool Skinned);
    void DrawSubItems(TListItem* Item, TCustomDrawState State, TCanvas* C, const TRect& Bounds, int ShiftX,
                      bool OnBitmap, int BitmapHeight);
    void DrawGridLines(TListItem* Item, const TRect& Bounds);
    void UpDateScrollBars1();
    void UpDateScrollBars2();
    void UpDateScrollBars3();
    void ApplyBarPlans(const TbsBarPlan& V, const TbsBarPlan& H);
    void OnVScrollBarChange();
    void OnHScrollBarChange();
    int Item0Height();
    int Item0Width();
    void InvalidateHeader(bool Erase);

    TColor FLineColor;
    std::wstring FItemSkinDataName = L"listbox";
    std::wstring FCheckSkinDataName = L"checkbox";
    bool FDrawSkin = false;
    bool FDrawSkinLines = false;
    bool FDevDown = false;
    std::wstring FHeaderSkinDataName = L"header";
    bool FInCheckScrollBars = false;
    bool FromSB = false;
    TbsSkinData* FSD = nullptr;  // borrowed, cleared by Notification
    std::wstring FSkinDataName = L"listview";
    int FIndex = -1;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    TColor FDefaultColor;
    TColor FSkinColor, FSkinAlternateColor;
    TbsSkinScrollBar* FVScrollBar = nullptr;  // borrowed, cleared by Notification
    TbsSkinScrollBar* FHScrollBar = nullptr;  // borrowed, cleared by Notification
    int FOldVScrollBarPos = 0, FOldHScrollBarPos = 0;
    HWND FHeaderHandle = nullptr;
    int FActiveSection = -1;
    bool FHeaderDown = false;
    int FHIndex = -1;
    bool FAlternateRow = false;
    bool FHeaderPainting = false;

    // The header entry's copies, refreshed by HGetSkinData.
    TPoint HLTPt, HRTPt, HLBPt, HRBPt;
    TRect HSkinRect, HClRect, HDownSkinRect;
    TBitmap* HPicture = nullptr;  // borrowed from the container
    TColor HFontColor = 0, HDownFontColor = 0;
    bool HStretchEffect = false, HLeftStretch = false, HTopStretch = false, HRightStretch = false,
         HBottomStretch = false;
    TbsStretchType HStretchType{};
};

class TbsSkinListView : public TbsSkinCustomListView {
  public:
    using TbsSkinCustomListView::TbsSkinCustomListView;
};
