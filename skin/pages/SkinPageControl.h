// TbsSkinPageControl and its pages: the class library's page control whose tabs, frame and page backgrounds come
// from the skin entry "tab" of a container (or a built-in look), with close buttons on the tabs, a centred or
// shifted tab row, a hidden mode in which it is a bare page host, wheel switching and a skinned scroller for a tab
// row too long to show. The control paints itself whole (the tab control only keeps the tab geometry); the pages
// paint their background on erase. Both look their entry up again at every paint and layout step (cached by name and
// the container's load count) and take part in the skinned form's skin change walk. GUI thread only.
// Index: TbsSkinCustomTabSheet, TbsSkinTabSheet, TbsSkinPageControl, DrawRotate90_1, DrawRotate90_2,
// DrawRotate90_1_H, DrawRotate90_2_H, DrawFlipVert.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "classlib/ComCtrls.h"
#include "classlib/ImgList.h"
#include "skin/core/GlyphPainters.h"
#include "skin/form/SkinnedControl.h"
#include "skin/pages/PageGeometry.h"

class TbsSkinData;
class TbsDataSkinTabControl;
class TbsSkinPageControl;
class TbsSkinUpDown;

// The answer of every skinned page control and page to this query message.
constexpr UINT WM_SKINPAGE_QUERY = 0xB1C9;
constexpr LRESULT SKINPAGE_QUERY_ANSWER = 12851;

// Quarter turns and the vertical mirror of a bitmap (made 32-bit). The _H forms turn in place (swapping the size).
void DrawRotate90_1(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y);  // counter-clockwise
void DrawRotate90_2(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y);  // clockwise
void DrawRotate90_1_H(TBitmap* Bitmap);
void DrawRotate90_2_H(TBitmap* Bitmap);
void DrawFlipVert(TBitmap* Bitmap);

class TbsSkinCustomTabSheet : public TTabSheet, public IbsSkinnedControl {
  public:
    explicit TbsSkinCustomTabSheet(TComponent* AOwner);
    ~TbsSkinCustomTabSheet() override;

    // Tiled over the sheet when not empty (owned).
    TBitmap* WallPaper() { return FWallPaper.get(); }
    void SetWallPaper(TBitmap* Value);
    // The page control when this sheet lies on a skinned one.
    TbsSkinPageControl* SkinPageControl() const;

    // The sheet's background into DC (client coordinates).
    void PaintBG(HDC DC);
    // Sends 1284 to every windowed child, so transparent ones fetch the new background.
    void CheckControlsBackground();

    // The close button of the sheet's tab, relative to the tab, as last painted; its hover and pressed flags.
    TRect CloseRect;
    bool CloseMouseIn = false;
    bool CloseMouseDown = false;

    TbsSkinData* ControlSkinData() const override;
    void ChangeSkinData() override { Invalidate(); }
    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;

  private:
    std::unique_ptr<TBitmap> FWallPaper;
};

class TbsSkinTabSheet : public TbsSkinCustomTabSheet {
  public:
    using TbsSkinCustomTabSheet::TbsSkinCustomTabSheet;
};

using TbsTabCloseEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TbsDrawSkinTabEvent =
    std::function<void(int TabIndex, const TRect& Rct, bool Active, bool MouseIn, TCanvas* Cnvs)>;

class TbsSkinPageControl : public TPageControl, public IbsSkinnedControl {
  public:
    explicit TbsSkinPageControl(TComponent* AOwner);
    ~TbsSkinPageControl() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const std::wstring& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::wstring& Value);
    std::wstring ButtonTabSkinDataName = L"resizetoolbutton";
    TFont* DefaultFont() { return FDefaultFont.get(); }
    bool UseSkinFont = true;
    int DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(int Value);
    TCustomImageList* TabImages() const { return FImages; }
    void SetTabImages(TCustomImageList* Value);

    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition Value);
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle Value);
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int Value);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int Value);
    int TabsOffset() const { return FTabsOffset; }
    void SetTabsOffset(int Value);
    bool TabsInCenter() const { return FTabsInCenter; }
    // Refused (stays off) while TabWidth is 0: a centred row needs tabs of one known width.
    void SetTabsInCenter(bool Value);
    bool TabsBGTransparent() const { return FTabsBGTransparent; }
    void SetTabsBGTransparent(bool Value);
    bool TextInHorizontal() const { return FTextInHorizontal; }
    void SetTextInHorizontal(bool Value);
    bool ShowCloseButtons() const { return FShowCloseButtons; }
    void SetShowCloseButtons(bool Value);
    // Glyph and caption of every tab laid out as on a button: the glyph beside or above the caption by TabLayout,
    // TabMargin from the edge (-1: the pair centred), TabSpacing between them.
    bool TabExtededDraw() const { return FTabExtededDraw; }
    void SetTabExtededDraw(bool Value);
    TbsButtonLayout TabLayout() const { return FTabLayout; }
    void SetTabLayout(TbsButtonLayout Value);
    int TabMargin() const { return FTabMargin; }
    void SetTabMargin(int Value);  // below -1 ignored
    int TabSpacing() const { return FTabSpacing; }
    void SetTabSpacing(int Value);
    bool FreeOnClose = false;
    bool MouseWheelSupport = false;

    TbsTabCloseEvent OnClose;
    TNotifyEvent OnAfterClose;
    TbsDrawSkinTabEvent OnDrawSkinTab;

    void HideTabs();
    void ShowTabs();
    void HideBorder();
    void ShowBorder();
    void HideBorderAndTabs();
    void ShowBorderAndTabs();
    void UpDateTabs();
    bool TabsHidden() const { return FTabsHidden; }
    bool BorderHidden() const { return FBorderHidden; }

    // IbsSkinnedControl: the skin change walk.
    TbsSkinData* ControlSkinData() const override { return FSD; }
    void BeforeChangeSkinData() override;
    void ChangeSkinData() override;

    // The entry in force after a fresh lookup (nullptr: the built-in look) and its picture.
    TbsDataSkinTabControl* TabEntry();
    // The entry's index (-1: the built-in look).
    int SkinIndex() { return Lookup(); }
    TBitmap* TabPicture();
    // The pages' rectangle (client coordinates).
    TRect PageArea();
    // The painted rectangle of visible tab TabIndex.
    TRect GetTabRect(int TabIndex);
    // The row's offset when centred or shifted, else 0.
    int ItemOffset();
    // The close button's size on the tabs.
    int CloseSize();
    // The tabs of a single row that lie outside the control (0 with several rows or hidden tabs).
    int HiddenTabs();
    // The skinned scroller while the tab row overflows (nullptr otherwise).
    TbsSkinUpDown* UpDown() const { return FUpDown; }
    // The visible tab under the mouse (-1: none).
    int HotTab() const { return FActiveTab; }

    // The control as it appears, its active page's background included, into DC with its top-left at (X, Y).
    void PaintTo(HDC DC, int X, int Y);

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void AdjustClientRect(TRect& Rect) override;
    void Change() override;

  private:
    int Lookup();
    void PaintControl(TCanvas* C);
    void DrawFrame(TCanvas* C, const TRect& PageR);
    void DrawTabs(TCanvas* C, const TRect& PageR);
    void DrawTab(TCanvas* C, int TabIndex, const TRect& Rct, bool Active, bool MouseIn);
    void DrawCloseButton(TCanvas* C, TbsSkinCustomTabSheet* Page, const TRect& Rct);
    void DrawEmptyBackground(TCanvas* C);
    TRect SelectedTabArea();
    TTabSheet* PageOfVisibleTab(int TabIndex) const;
    int VisibleTabCount() const;
    bool Focused();
    void SetItemSize();
    void UpdatePrivateImages();
    void TestActive(int X, int Y);
    void CloseActivePage();
    void TestScroll();
    int HiddenTabsWithin(int Limit);
    int WindowWidth();
    void PlaceUpDown();
    void DestroyUpDown();
    void ScrollerChanged();
    void RemoveNativeScroller();
    void ApplyFont();

    TbsSkinData* FSD = nullptr;  // borrowed, cleared by Notification
    std::wstring FSkinDataName = L"tab";
    // The lookup cache: the container, name and load count it was made for.
    TbsSkinData* FCacheData = nullptr;
    std::wstring FCacheName;
    std::uint32_t FCacheLoad = 0;
    int FCacheIndex = -1;

    std::unique_ptr<TFont> FDefaultFont;
    std::unique_ptr<TCustomImageList> FPrivateImages;
    TCustomImageList* FImages = nullptr;  // borrowed
    int FDefaultItemHeight = 20;
    TTabPosition FTabPosition = tpTop;
    TTabStyle FStyle = tsTabs;
    int FTabHeight = 0;
    int FTabWidth = 0;
    int FTabsOffset = 0;
    bool FTabsInCenter = false;
    bool FTabsBGTransparent = false;
    bool FTextInHorizontal = false;
    bool FShowCloseButtons = false;
    bool FTabExtededDraw = false;
    TbsButtonLayout FTabLayout = blGlyphLeft;
    int FTabMargin = -1;
    int FTabSpacing = 1;

    int FActiveTab = -1;      // visible index of the hovered tab
    int FActiveTabIndex = -1; // its page index
    bool FTabsHidden = false;   // HideTabs in force
    bool FBorderHidden = false;
    int FSavedTabHeight = -1;
    TbsSkinUpDown* FUpDown = nullptr;  // our child, freed by us
    bool FInScrollerChange = false;
    TTabPosition FSavedPosition = tpTop;
    bool FSavedMultiLine = false;
};
