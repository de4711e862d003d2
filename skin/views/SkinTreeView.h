// TbsSkinCustomTreeView: the class library's tree view with the skin's colours and font from a tree-view entry, no
// room for the native scroll bars (no non-client area) and up to two external TbsSkinScrollBars that mirror the native
// scroll state and scroll the view; with DrawSkin on it draws every node itself: connecting lines fading out to the
// right, expand buttons (built-in boxes, the entry's pictures or an image list), the node image and the selected node
// from a list-box-kind entry. The base of the shell tree view; no form of either program places one.
// GUI thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "classlib/ComCtrls.h"
#include "skin/form/SkinnedControl.h"

class TbsSkinData;
class TbsSkinScrollBar;

class TbsSkinCustomTreeView : public TCustomTreeView, public IbsSkinnedControl {
  public:
    explicit TbsSkinCustomTreeView(TComponent* AOwner);
    ~TbsSkinCustomTreeView() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const std::wstring& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::wstring& Value) { FSkinDataName = Value; }
    const std::wstring& ItemSkinDataName() const { return FItemSkinDataName; }
    void SetItemSkinDataName(const std::wstring& Value) { FItemSkinDataName = Value; }
    // Stored only: the node drawing draws no check boxes.
    const std::wstring& CheckSkinDataName() const { return FCheckSkinDataName; }
    void SetCheckSkinDataName(const std::wstring& Value) { FCheckSkinDataName = Value; }
    bool DrawSkin() const { return FDrawSkin; }
    virtual void SetDrawSkin(bool Value);
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    // Images of the expand buttons (borrowed; only stored, the view is not repainted).
    TCustomImageList* ButtonImageList() const { return FButtonImageList; }
    void SetButtonImageList(TCustomImageList* Value);
    int ButtonNoExpandImageIndex() const { return FButtonNoExpandImageIndex; }
    void SetButtonNoExpandImageIndex(int Value) { FButtonNoExpandImageIndex = Value; }
    int ButtonExpandImageIndex() const { return FButtonExpandImageIndex; }
    void SetButtonExpandImageIndex(int Value) { FButtonExpandImageIndex = Value; }
    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* Value);
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TbsSkinScrollBar* Value);

    TColor LineColor() const { return FLineColor; }
    TColor ButtonColor() const { return FButtonColor; }
    int SkinIndex() const { return FIndex; }
    // Whether the skin's expand-button pictures were taken.
    bool HasButtonPictures() const { return !FExpandImage->Empty() && !FNoExpandImage->Empty(); }

    TbsSkinData* ControlSkinData() const override { return FSD; }
    void ChangeSkinData() override;
    void UpDateScrollBars();

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void Change(TTreeNode* Node) override;
    // The node drawing DrawSkin installs.
    void DrawNode(TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw);

  private:
    struct TNodeHook;
    void DrawLinesAndButton(TTreeNode* Node, const TRect& Row);
    void DrawFadingLine(int X1, int X2, int Y);
    void DrawNodeImage(TTreeNode* Node, const TRect& Row);
    void OnVScrollBarChange();
    void OnHScrollBarChange();

    std::unique_ptr<TBitmap> FExpandImage, FNoExpandImage;
    TCustomImageList* FButtonImageList = nullptr;  // borrowed, cleared by Notification
    int FButtonNoExpandImageIndex = 0, FButtonExpandImageIndex = 1;
    std::wstring FItemSkinDataName = L"listbox";
    std::wstring FCheckSkinDataName = L"checkbox";
    TColor FLineColor = 0, FButtonColor = 0;
    int FButtonSize = 5;
    bool FDrawSkin = false, FInCheckScrollBars = false;
    TbsSkinData* FSD = nullptr;  // borrowed, cleared by Notification
    std::wstring FSkinDataName = L"treeview";
    int FIndex = -1;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    TColor FDefaultColor;
    TbsSkinScrollBar* FVScrollBar = nullptr;  // borrowed, cleared by Notification
    TbsSkinScrollBar* FHScrollBar = nullptr;  // borrowed, cleared by Notification
};

class TbsSkinTreeView : public TbsSkinCustomTreeView {
  public:
    using TbsSkinCustomTreeView::TbsSkinCustomTreeView;
};
