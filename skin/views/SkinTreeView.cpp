#include "skin/views/SkinTreeView.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/controls/ControlSeam.h"
#include "skin/controls/ControlSkinning.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinText.h"
#include "skin/form/SkinForm.h"
#include "skin/views/ViewBars.h"

// The node drawing as the installed handler; recognised again when DrawSkin goes off.
struct TbsSkinCustomTreeView::TNodeHook {
    TbsSkinCustomTreeView* Owner;
    void operator()(TCustomTreeView*, TTreeNode* Node, TCustomDrawState State, TCustomDrawStage, bool&,
                    bool& DefaultDraw) const {
        Owner->DrawNode(Node, State, DefaultDraw);
    }
};

TbsSkinCustomTreeView::TbsSkinCustomTreeView(TComponent* AOwner)
    : TCustomTreeView(AOwner),
      FExpandImage(std::make_unique<TBitmap>()),
      FNoExpandImage(std::make_unique<TBitmap>()),
      FDefaultFont(std::make_unique<TFont>()),
      FDefaultColor(clWindow) {
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
}

TbsSkinCustomTreeView::~TbsSkinCustomTreeView() = default;

void TbsSkinCustomTreeView::SetSkinData(TbsSkinData* Value) {
    SetBorrowed(this, FSD, Value);
    if (FSD && !FSD->Empty)
        ChangeSkinData();
}

void TbsSkinCustomTreeView::ChangeSkinData() {
    if (ComponentState().Contains(csLoading))
        return;
    FIndex = LookupSkinEntry(FSD, FSkinDataName);
    if (FIndex == -1) {
        SetColor(FDefaultColor);
        Font()->Assign(FDefaultFont.get());
        FLineColor = TColor(0x808080);
    } else if (auto* e = dynamic_cast<TbsDataSkinTreeView*>(SkinEntryAt(FSD, FIndex))) {
        ApplyEntryFont(Font(), FDefaultFont.get(), FUseSkinFont, e->FontName, e->FontStyle, e->FontHeight,
                       e->FontColor);
        SetColor(TColor(e->BGColor));
        const std::uint32_t fore = ColorToRGB(TColor(e->FontColor)) & 0xFFFFFF;
        const std::uint32_t back = ColorToRGB(TColor(e->BGColor)) & 0xFFFFFF;
        FLineColor = TColor(TreeLineColorOf(fore, back));
        FButtonColor = TColor(TreeButtonColorOf(fore, back));
        TBitmap* picture = SkinPictureAt(FSD, e->PictureIndex);
        // Pictures outside the skin's picture count as absent, as empty rectangles do.
        if (!RectInPicture(e->ExpandImageRect, picture) || !RectInPicture(e->NoExpandImageRect, picture)) {
            FExpandImage->SetSize(0, 0);
            FNoExpandImage->SetSize(0, 0);
        } else {
            for (auto [target, rect] : {std::pair{FExpandImage.get(), e->ExpandImageRect},
                                        std::pair{FNoExpandImage.get(), e->NoExpandImageRect}}) {
                const int side = rect.Width();
                target->SetSize(side, side);
                target->Canvas()->CopyRect({0, 0, side, side}, picture->Canvas(), rect);
                target->SetTransparent(true);
            }
        }
    }
    Font()->SetCharset(SkinFontCharset(FSD, FDefaultFont->Charset()));
    for (TCustomImageList* list : {Images(), StateImages()})
        if (list)
            list->SetBkColor(Color());
    UpDateScrollBars();
    for (TbsSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
        if (bar)
            bar->SetAlign(bar->Align());
}

void TbsSkinCustomTreeView::SetDefaultFont(TFont* Value) {
    FDefaultFont->Assign(Value);
    if (FIndex == -1)
        Font()->Assign(Value);
}

void TbsSkinCustomTreeView::SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    if (FIndex == -1)
        SetColor(Value);
}

void TbsSkinCustomTreeView::SetButtonImageList(TCustomImageList* Value) {
    SetBorrowed(this, FButtonImageList, Value);
}

void TbsSkinCustomTreeView::SetDrawSkin(bool Value) {
    FDrawSkin = Value;
    if (Value) {
        OnAdvancedCustomDrawItem = TNodeHook{this};
    } else if (const TNodeHook* hook = OnAdvancedCustomDrawItem.target<TNodeHook>(); hook && hook->Owner == this) {
        // Only our own drawing goes; a handler the application installed since stays.
        OnAdvancedCustomDrawItem = nullptr;
    }
    if (HandleAllocated())
        Invalidate();
}

void TbsSkinCustomTreeView::Loaded() {
    TCustomTreeView::Loaded();
    ChangeSkinData();
}

void TbsSkinCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomTreeView::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FSD)
        FSD = nullptr;
    if (AComponent == FVScrollBar)
        FVScrollBar = nullptr;
    if (AComponent == FHScrollBar)
        FHScrollBar = nullptr;
    if (AComponent == FButtonImageList)
        FButtonImageList = nullptr;
}

void TbsSkinCustomTreeView::CreateParams(TCreateParams& Params) {
    TCustomTreeView::CreateParams(Params);
    Params.Style &= ~static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL);
}

void TbsSkinCustomTreeView::Change(TTreeNode* Node) {
    TCustomTreeView::Change(Node);
    UpDateScrollBars();
}

void TbsSkinCustomTreeView::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case WM_NCCALCSIZE:
        case WM_NCPAINT:
            Message.Result = 0;
            return;
        case WM_NCHITTEST:
            Message.Result = HTCLIENT;
            return;
        case CM_SENCPAINT:
            Message.Result = 0x3233;
            return;
        case CM_VISIBLECHANGED:
            TCustomTreeView::WndProc(Message);
            for (TbsSkinScrollBar* bar : {FVScrollBar, FHScrollBar})
                if (bar)
                    bar->SetVisible(Visible());
            return;
        default:
            break;
    }
    TCustomTreeView::WndProc(Message);
    switch (Message.Msg) {
        case WM_SIZE:
        case WM_PAINT:
            if (!FInCheckScrollBars)
                UpDateScrollBars();
            break;
        case WM_KEYDOWN:
        case WM_LBUTTONUP:
            UpDateScrollBars();
            break;
        default:
            break;
    }
}

// ---- Scroll bars ----------------------------------------------------------------------------------------------------

void TbsSkinCustomTreeView::SetVScrollBar(TbsSkinScrollBar* Value) {
    BindViewBar(this, FVScrollBar, Value, [this] { OnVScrollBarChange(); });
    UpDateScrollBars();
}

void TbsSkinCustomTreeView::SetHScrollBar(TbsSkinScrollBar* Value) {
    BindViewBar(this, FHScrollBar, Value, [this] { OnHScrollBarChange(); });
    UpDateScrollBars();
}

void TbsSkinCustomTreeView::UpDateScrollBars() {
    if (ComponentState().Contains(csLoading) || FInCheckScrollBars || !HandleAllocated())
        return;
    const HWND h = Handle();
    const int page = static_cast<int>(SendMessageW(h, TVM_GETVISIBLECOUNT, 0, 0));
    const int count = static_cast<int>(SendMessageW(h, TVM_GETCOUNT, 0, 0));
    int oldV = 0, oldH = 0;  // the tree reads the bars' own positions when they move
    bool changed = false;
    ApplyBarPlan(FVScrollBar, PlanTreeVBar(NativeScrollOf(h, SB_VERT), page, count, Visible()), oldV,
                 FInCheckScrollBars, changed);
    ApplyBarPlan(FHScrollBar, PlanWidthBar(NativeScrollOf(h, SB_HORZ), Width(), Visible()), oldH,
                 FInCheckScrollBars, changed);
    FinishBars(this, FVScrollBar, FHScrollBar, changed, FInCheckScrollBars);
}

void TbsSkinCustomTreeView::OnVScrollBarChange() {
    if (!FVScrollBar || !HandleAllocated())
        return;
    const int pos = FVScrollBar->Position();
    int major = 0, minor = 0;
    if (ControlSeam().Version)
        ControlSeam().Version(major, minor);
    if (major > 5) {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_POS;
        si.nPos = pos;
        SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
    }
    // The position travels in 16 bits, as the system's message has room for.
    SendMessageW(Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos & 0xFFFF), 0);
}

void TbsSkinCustomTreeView::OnHScrollBarChange() {
    if (!FHScrollBar || !HandleAllocated())
        return;
    SendMessageW(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, FHScrollBar->Position() & 0xFFFF), 0);
}

// ---- Node drawing ---------------------------------------------------------------------------------------------------

namespace {
// TVM_GETITEMRECT: the item goes in where the rectangle comes back.
bool NodeRect(HWND Tree, HTREEITEM Item, bool TextOnly, RECT& R) {
    std::memcpy(&R, &Item, sizeof(Item));
    return SendMessageW(Tree, TVM_GETITEMRECT, TextOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(&R)) != 0;
}
}  // namespace

void TbsSkinCustomTreeView::DrawNode(TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw) {
    if (!FSD || FSD->Empty)
        return;
    auto* item = dynamic_cast<TbsDataSkinListBox*>(SkinEntryAt(FSD, LookupSkinEntry(FSD, FItemSkinDataName)));
    TBitmap* picture = item ? SkinPictureAt(FSD, item->PictureIndex) : nullptr;
    if (!item || !RectInPicture(item->ActiveItemRect, picture))
        return;  // the native control draws the node
    DefaultDraw = false;
    const HWND h = Handle();
    RECT r{};
    if (!NodeRect(h, Node->ItemId(), false, r))
        return;
    TRect row{r.left, r.top, r.right, r.bottom};
    if (row.IsEmpty())
        return;
    RECT t{};
    NodeRect(h, Node->ItemId(), true, t);
    const TRect textRect{t.left, t.top, t.right, t.bottom};
    row.Offset(-GetScrollPos(h, SB_HORZ), 0);
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(row);
    c->FillRect(textRect);
    c->Brush()->SetStyle(bsClear);
    const int indent = Indent();
    const int level = ShowRoot() ? Node->Level() : Node->Level() - 1;
    row.Left += level * indent;
    DrawLinesAndButton(Node, row);
    row.Left += indent + FButtonSize;
    DrawNodeImage(Node, row);
    c->SetFont(Font());
    if (!State.Contains(cdsSelected)) {
        c->Brush()->SetStyle(bsClear);
        BSDrawText(c, Node->Text(), {textRect.Left + 2, textRect.Top + 1, textRect.Right, textRect.Bottom});
        return;
    }
    TRect text = textRect;
    text.Right = text.Left + c->TextWidth(Node->Text()) + 3;
    if (text.Width() < 1 || text.Height() < 1)
        return;
    TBitmap b(text.Width(), text.Height());
    const bool focused = Focused();
    TRect src = focused ? item->FocusItemRect : item->ActiveItemRect;
    if (!RectInPicture(src, picture))
        src = item->ActiveItemRect;
    CreateStretchImage(&b, picture, src, item->ItemTextRect, true);
    b.Canvas()->SetFont(Font());
    b.Canvas()->Font()->SetColor(TColor(focused ? item->FocusFontColor : item->ActiveFontColor));
    b.Canvas()->Brush()->SetStyle(bsClear);
    BSDrawText(b.Canvas(), Node->Text(), {2, 1, b.Width(), b.Height()});
    c->Draw(text.Left, text.Top, &b);
}

void TbsSkinCustomTreeView::DrawLinesAndButton(TTreeNode* Node, const TRect& Row) {
    if (FButtonImageList)
        FButtonSize = std::max(FButtonImageList->Width(), FButtonImageList->Height()) / 2;
    else
        FButtonSize = HasButtonPictures() ? FExpandImage->Width() / 2 - 2 : 5;
    TbsTreeNodeFacts f;
    f.Row = Row;
    f.Indent = Indent();
    f.ButtonSize = FButtonSize;
    f.HasChildren = Node->HasChildren();
    f.Expanded = Node->Expanded();
    f.FirstOfTree = Node->AbsoluteIndex() == 0;
    const TTreeNode* next = Node->GetNextVisible();
    f.LineDown = (next && next->Level() == Node->Level()) || Node->GetNextSibling();
    for (const TTreeNode* p = Node->Parent(); p; p = p->Parent())
        f.AncestorHasNext.push_back(p->GetNextSibling() != nullptr);
    f.ShowLines = ShowLines();
    f.ShowButtons = ShowButtons();
    const TbsTreeDrawing d = PlanTreeNode(f);
    TCanvas* c = Canvas();
    for (const TbsLineSeg& l : d.Lines) {
        if (l.Fading) {
            DrawFadingLine(l.X1, l.X2, l.Y1);
        } else {
            // vertical, both ends included
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(FLineColor);
            c->FillRect({l.X1, std::min(l.Y1, l.Y2), l.X1 + 1, std::max(l.Y1, l.Y2) + 1});
        }
    }
    if (!d.Box)
        return;
    const int size = FButtonSize, x0 = d.X0, mid = d.Mid;
    const TRect square{x0 - size, mid - size, x0 + size, mid + size};
    c->Brush()->SetStyle(bsSolid);
    if (FButtonImageList) {
        c->Brush()->SetColor(Color());
        c->FillRect(square);
        const int index = Node->Expanded() ? FButtonExpandImageIndex : FButtonNoExpandImageIndex;
        if (index >= 0 && index < FButtonImageList->Count())
            FButtonImageList->Draw(c, square.Left, square.Top, index, true);
        return;
    }
    c->Brush()->SetColor(FButtonColor);
    c->FrameRect(d.BoxRect);
    c->Pen()->SetColor(Font()->Color());
    c->MoveTo(d.MinusSeg.X1, d.MinusSeg.Y1);
    c->LineTo(d.MinusSeg.X2 + 1, d.MinusSeg.Y2);
    if (d.Plus) {
        c->MoveTo(d.PlusSeg.X1, d.PlusSeg.Y1);
        c->LineTo(d.PlusSeg.X2, d.PlusSeg.Y2 + 1);
    }
    if (HasButtonPictures()) {
        TRect moved = square;
        moved.Offset(-2, -2);
        c->Brush()->SetColor(Color());
        c->FillRect(moved);
        c->Draw(x0 - size - 3, mid - size - 3, Node->Expanded() ? FExpandImage.get() : FNoExpandImage.get());
    }
}

void TbsSkinCustomTreeView::DrawFadingLine(int X1, int X2, int Y) {
    const std::vector<std::uint8_t> alpha = FadeAlphas(X2 - X1);
    const int n = static_cast<int>(alpha.size());
    if (n == 0)
        return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = n;
    bi.bmiHeader.biHeight = 1;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib)
        return;
    const COLORREF c = ColorToRGB(FLineColor);
    auto* px = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < n; ++i) {
        const std::uint32_t a = alpha[static_cast<size_t>(i)];
        // premultiplied, as the blend wants it
        px[i] = (a << 24) | ((GetRValue(c) * a / 255) << 16) | ((GetGValue(c) * a / 255) << 8) | (GetBValue(c) * a / 255);
    }
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, dib);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(Canvas()->Handle(), X1, Y, n, 1, mem, 0, 0, n, 1, bf);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
}

void TbsSkinCustomTreeView::DrawNodeImage(TTreeNode* Node, const TRect& Row) {
    const int mid = Row.Top + Row.Height() / 2;
    const int x = Row.Left - FButtonSize;
    TCanvas* c = Canvas();
    const int index = Node->ImageIndex();
    if (TCustomImageList* images = Images()) {
        if (index >= 0 && index < images->Count())
            images->Draw(c, x, mid - images->Height() / 2, index, true);
        return;
    }
    const auto list = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
    if (!list)
        return;
    int w = 0, h = 0;
    ImageList_GetIconSize(list, &w, &h);
    if (index >= 0 && index < ImageList_GetImageCount(list))
        ImageList_DrawEx(list, index, c->Handle(), x, mid - h / 2, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
}
