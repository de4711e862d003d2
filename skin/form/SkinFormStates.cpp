// The skinned form's window states. The frame draws its own caption buttons, so it carries out what they ask itself:
// a maximised form is a normal window sized to its monitor's work area, a minimised form other than the main one is
// a caption-only frame parked along the bottom of the work area, a rolled-up form keeps only its caption bar, and
// minimising to the tray goes through the linked tray icon. Also here: the caption double click, the tray menu, the
// caption buttons' hints and the container's notices about resource strings, the skinnable frame and the layered
// borders.
#include <algorithm>

#include "classlib/Menus.h"
#include "skin/core/SkinUtils.h"
#include "skin/form/LayerBorder.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinFormObjects.h"
#include "skin/form/SkinPopupMenu.h"
#include "skin/form/TrayIcon.h"

bool TbsSkinForm::IsMainForm() const {
    return Application->MainForm() == FForm;
}

// ---- Setting the state --------------------------------------------------------------------------------------------

void TbsSkinForm::SetWindowState(TWindowState Value) {
    FWindowStateInit = Value;
    if (ComponentState().Contains(csLoading))
        return;
    SetWindowStateTemp(Value);
    FWindowStateInit = FWindowState;
}

void TbsSkinForm::SetWindowStateTemp(TWindowState Value) {
    if (!FSkinnableForm) {
        FForm->SetWindowState(Value);
        return;
    }
    if (Value == FWindowState)
        return;
    const TWindowState old = FWindowState;
    // The application (or the class library) minimises these: the frame's own state stays.
    const bool elsewhere = Value == wsMinimized && (IsMainForm() || MinimizeDefault || MinimizeApplication);
    if (!elsewhere)
        FWindowState = Value;
    // The grip would resize a maximised form: it shows only outside that state.
    if (auto* bar = dynamic_cast<IbsSizeGripBar*>(FStatusBar); bar && bar->SizeGrip() && !elsewhere &&
                                                              (Value == wsMaximized || old == wsMaximized))
        bar->SetShowGrip(Value != wsMaximized);
    switch (Value) {
        case wsNormal:
            if (old == wsMaximized && FRollUpState && !FRollUpBeforeMaximize)
                SetRollUpState(false);
            FRollUpBeforeMaximize = false;
            DoNormalize();
            break;
        case wsMinimized:
            DoMinimize();
            break;
        case wsMaximized:
            FRollUpBeforeMaximize = FRollUpState;
            DoMaximize();
            break;
    }
    if (IsMDIChildForm() && !elsewhere)
        MDIChildStateChanged(old, Value);
}

// An MDI child tells the main form; a maximised child has no frame, so the frame changes with that state.
void TbsSkinForm::MDIChildStateChanged(TWindowState Old, TWindowState Value) {
    if (Old == wsMaximized || Value == wsMaximized) {
        SetWindowPos(FForm->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        CreateNewRegion(true);
        RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    switch (Value) {
        case wsMaximized:
            SendToMain(WM_MDIMAXIMIZEALL);
            // The child that asked stays the active one on top of the others.
            if (IsWindowVisible(FForm->Handle()))
                if (TCustomForm* main = MDIMainForm())
                    SendMessageW(main->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FForm->Handle()), 0);
            break;
        case wsNormal:
            if (Old == wsMaximized)
                SendToMain(WM_MDIRESTOREALL);
            break;
        case wsMinimized:
            SendToMain(WM_MDIRESTOREALLEXCEPT, reinterpret_cast<WPARAM>(FForm->Handle()));
            break;
    }
    if (Old == wsMaximized && Value != wsMaximized)
        SendToMain(WM_MDICHILDRESTORED);
}

void TbsSkinForm::DoMinimize() {
    if (OnMinimize)
        OnMinimize(this);
    if (IsMainForm() || MinimizeApplication) {
        if (Application->MainFormOnTaskBar() && FBorderLayer->Visible())
            FBorderLayer->Hide();
        Application->Minimize();
        return;
    }
    if (MinimizeDefault) {
        FForm->SetWindowState(wsMinimized);
        return;
    }
    if (IsNullRect(OldBoundsRect))
        OldBoundsRect = FForm->BoundsRect();
    TPoint p = GetMinimizeCoord();
    if (FullBorderShown()) {
        const TbsLayerSizes& s = FBorderLayer->Sizes();
        p.X += s.LeftSize;
        p.Y -= s.BottomSize + FBorderLayer->Geom().RollUpFormHeight - 10;
    }
    FForm->SetBounds(p.X, p.Y, GetMinWidth(), GetMinHeight());
    UpDateFormNC();
}

TPoint TbsSkinForm::GetMinimizeCoord() {
    const int w = GetMinWidth(), h = GetMinHeight();
    const TRect A = FormWorkArea(true);
    TPoint p{A.Left, A.Bottom - h};
    auto occupied = [&](TPoint at) {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TCustomForm* f = Screen->Forms(i);
            if (f == FForm || f == Application->MainForm() || !f->HandleAllocated() || !IsWindowVisible(f->Handle()))
                continue;
            TbsSkinForm* other = GetSkinFormComponent(f);
            if (other && other->FWindowState == wsMinimized && f->Left() == at.X && f->Top() == at.Y)
                return true;
        }
        return false;
    };
    // Every step passes one parked form: more steps than forms cannot find anything new.
    for (int guard = Screen->FormCount() + 1; guard > 0 && occupied(p); --guard) {
        p.X += w;
        if (p.X + w > A.Right) {
            p.X = A.Left;
            p.Y -= h;
            if (p.Y < A.Top) {
                p.Y = A.Bottom - h;
                break;
            }
        }
    }
    return p;
}

TRect TbsSkinForm::MaximizedRect() {
    if (IsMDIChildForm()) {
        TRect A;
        GetMDIWorkArea(A);
        return TRect{0, 0, A.Width(), A.Height()};
    }
    TRect R = FForm->HandleAllocated() ? GetMonitorWorkArea(FForm->Handle(), !MaximizeOnFullScreen)
                                       : GetPrimaryMonitorWorkArea(!MaximizeOnFullScreen);
    if (!MaximizeOnFullScreen) {
        // A work area as large as the primary screen (no task bar): one pixel short on every side, so that a task
        // bar that hides itself can still be reached.
        const TRect whole =
            FForm->HandleAllocated() ? GetMonitorWorkArea(FForm->Handle(), false) : GetPrimaryMonitorWorkArea(false);
        const TRect primary{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (R == whole && whole == primary)
            R.Inflate(-1, -1);
    }
    return R;
}

void TbsSkinForm::DoMaximize() {
    if (IsNullRect(OldBoundsRect))
        OldBoundsRect = FForm->BoundsRect();
    TRect R = MaximizedRect();
    if (FullBorderAvailable() && FBorderLayer->HasData()) {
        const TbsLayerSizes& s = FBorderLayer->Sizes();
        R = TRect{R.Left + s.LeftSize, R.Top + s.TopSize, R.Right - s.RightSize, R.Bottom - s.BottomSize};
    }
    FForm->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    UpDateFormNC();
    if (OnMaximize)
        OnMaximize(this);
    if (FBorderLayer->Visible() && !FBorderLayer->FullBorder())
        FBorderLayer->Hide();
}

void TbsSkinForm::DoNormalize() {
    MaxRollUpState = false;
    if (FStartShow && !IsNullRect(OldBoundsRect)) {
        FStartShow = false;
        const TPoint p = GetPositionInMonitor(OldBoundsRect.Left, OldBoundsRect.Top, OldBoundsRect.Width(),
                                              OldBoundsRect.Height());
        FForm->SetBounds(p.X, p.Y, OldBoundsRect.Width(), OldBoundsRect.Height());
    } else if (!IsNullRect(OldBoundsRect)) {
        FForm->SetBoundsRect(OldBoundsRect);
    }
    OldBoundsRect = TRect{};
    UpDateFormNC();
    if (FForm->HandleAllocated())
        FForm->Invalidate();
    if (CanShowBorderLayer() && !FBorderLayer->Visible() && FForm->HandleAllocated() &&
        IsWindowVisible(FForm->Handle())) {
        FBorderLayer->SetActive(FFormActive, false);
        FBorderLayer->ShowWithForm();
    }
    if (OnRestore)
        OnRestore(this);
}

TRect TbsSkinForm::GetNormalBoundsRect() {
    return IsNullRect(OldBoundsRect) ? FForm->BoundsRect() : OldBoundsRect;
}

// ---- Roll-up --------------------------------------------------------------------------------------------------------

void TbsSkinForm::SetRollUpState(bool Value) {
    if (!FBorderIcons.Contains(TbsBorderIcon::biRollUp) || FormMinimized())
        return;
    // Rolled up before a maximise: only the restore rolls it down.
    if (FRollUpState && FWindowState == wsMaximized && !MaxRollUpState)
        return;
    if (Value == FRollUpState)
        return;
    if (FWindowState == wsMaximized)
        MaxRollUpState = Value;
    FRollUpState = Value;
    if (Value) {
        OldHeight = FForm->Height();
        CreateRollUpForm();
    } else {
        RestoreRollUpForm();
    }
    UpDateFormNC();
    if (OnChangeRollUpState)
        OnChangeRollUpState(this);
}

void TbsSkinForm::CreateRollUpForm() {
    const int h = GetMinHeight();
    if (FullBorderShown() && FForm->Height() == h) {
        FForm->SetHeight(h + 1);
        OldHeight = h + 1;
    }
    FForm->SetHeight(h);
}

void TbsSkinForm::RestoreRollUpForm() {
    if (ClientHeight > 0)
        FForm->SetClientHeight(ClientHeight);
    else
        FForm->SetHeight(OldHeight);
}

int TbsSkinForm::RealHeight() {
    return FRollUpState ? OldHeight : FForm->Height();
}

void TbsSkinForm::CaptionDblClick() {
    const bool sizeable = IsSizeAble();
    if (sizeable && FWindowState == wsMinimized)
        SetWindowState(wsNormal);
    else if (sizeable && FWindowState != wsMaximized && !FRollUpState &&
             FBorderIcons.Contains(TbsBorderIcon::biMaximize))
        SetWindowState(wsMaximized);
    else if (sizeable && FWindowState == wsMaximized && !MaxRollUpState)
        SetWindowState(wsNormal);
    else
        SetRollUpState(!FRollUpState);
    MouseCaptureObject = -1;
}

// ---- Tray -----------------------------------------------------------------------------------------------------------

void TbsSkinForm::CreateSysTrayMenu() {
    FSysTrayMenu = new TbsSkinPopupMenu(this);
    FSysTrayMenu->SetComponentForm(FForm);
    TMenuItem* root = FSysTrayMenu->Items();
    auto add = [&](const wchar_t* name, const wchar_t* text, TNotifyEvent click) {
        auto* item = new TMenuItem(FSysTrayMenu);
        item->SetName(name);
        item->SetCaption(text);
        item->OnClick = std::move(click);
        root->Add(item);
        return item;
    };
    add(L"TRAY_SKF_RESTORE", L"&Restore", [this](TObject*) { RestoreFromTray(); });
    add(L"", L"-", nullptr);
    TMenuItem* close = add(L"TRAY_SKF_CLOSE", L"&Close", [this](TObject*) { FForm->Close(); });
    close->SetShortCut(TextToShortCut(FForm->FormStyle() == fsMDIChild ? L"Ctrl+F4" : L"Alt+F4"));
}

void TbsSkinForm::SetTrayIcon(TbsTrayIcon* Value) {
    if (FTrayIcon == Value)
        return;
    if (FTrayIcon)
        FTrayIcon->RemoveFreeNotification(this);
    FTrayIcon = Value;
    if (!Value)
        return;
    Value->FreeNotification(this);
    if (!AlwaysShowInTray)
        Value->SetIconVisible(false);
    Value->SetMinimizeToTray(false);
    if (!Value->PopupMenu())
        Value->SetPopupMenu(FSysTrayMenu);
    if (!Value->OnDblClick)
        Value->OnDblClick = [this](TObject*) { RestoreFromTray(); };
}

void TbsSkinForm::MinimizeToTray() {
    if (!FTrayIcon)
        return;
    FTrayIcon->SetMinimizeToTray(true);
    Application->Minimize();
    if (OnMinimizeToTray)
        OnMinimizeToTray(this);
}

void TbsSkinForm::RestoreFromTray() {
    if (!FTrayIcon)
        return;
    FTrayIcon->SetMinimizeToTray(false);
    FTrayIcon->ShowMainForm();
    Application->Restore();
    if (!AlwaysShowInTray)
        FTrayIcon->SetIconVisible(false);
    if (OnRestoreFromTray)
        OnRestoreFromTray(this);
}

// ---- Hints of the caption buttons -------------------------------------------------------------------------------

void TbsSkinForm::CheckObjectsHint() {
    if (!UseDefaultObjectHint || !FSD)
        return;
    static const struct {
        TbsStdCommand Command;
        const wchar_t* Key;
        const wchar_t* Text;
    } kHints[] = {{cmClose, L"CLOSEBUTTON_HINT", L"Close"},
                  {cmMaximize, L"MAXBUTTON_HINT", L"Maximize"},
                  {cmMinimize, L"MINBUTTON_HINT", L"Minimize"},
                  {cmSysMenu, L"MENUBUTTON_HINT", L"System menu"},
                  {cmRollUp, L"ROLLUPBUTTON_HINT", L"Roll Up"},
                  {cmMinimizeToTray, L"TRAYBUTTON_HINT", L"Minimize to Tray"}};
    TbsResourceStrData* strings = FSD->ResourceStrData();
    auto text = [strings](const wchar_t* key, const wchar_t* def) {
        return strings ? strings->GetResStr(key) : std::wstring(def);
    };
    // Standard and animated buttons take the hint of their command (a button without one keeps its own).
    auto fill = [&](TbsStdCommand command, std::wstring& hint, std::wstring& tempHint, std::wstring& restoreHint) {
        for (const auto& h : kHints) {
            if (h.Command == command)
                hint = text(h.Key, h.Text);
        }
        tempHint = hint;
        restoreHint = text(L"RESTORE_HINT", L"Restore");
    };
    for (auto& object : ObjectList) {
        if (auto* button = dynamic_cast<TbsSkinStdButtonObject*>(object.get()))
            fill(button->Command, button->Hint, button->FTempHint, button->RestoreHint);
        else if (auto* animate = dynamic_cast<TbsSkinAnimateObject*>(object.get()))
            fill(animate->Command, animate->Hint, animate->FTempHint, animate->RestoreHint);
    }
}

std::wstring TbsSkinForm::ObjectHint(const std::wstring& AIDName, bool Restore) const {
    for (const auto& object : ObjectList) {
        if (object->IDName != AIDName)
            continue;
        if (!Restore)
            return object->Hint;
        if (auto* button = dynamic_cast<const TbsSkinStdButtonObject*>(object.get()))
            return button->RestoreHint;
        if (auto* animate = dynamic_cast<const TbsSkinAnimateObject*>(object.get()))
            return animate->RestoreHint;
        return std::wstring();
    }
    return std::wstring();
}

// ---- The window procedure's share ----------------------------------------------------------------------------------

bool TbsSkinForm::StatesFirst(TMessage& m) {
    switch (m.Msg) {
        case WM_CHANGERESOURCESTRDATA:
            CheckObjectsHint();
            return false;
        case WM_CHANGESKINNABLEFORM:
            if (FSD && reinterpret_cast<TbsSkinData*>(m.WParam) == FSD && FForm->FormStyle() != fsMDIChild)
                SetSkinnableForm(FSD->SkinnableForm());
            return false;
        case WM_CHANGESHOWLAYEREDBORDERS: {
            if (!FSD || reinterpret_cast<TbsSkinData*>(m.WParam) != FSD)
                return false;
            SaveBoundsForBorder();
            const bool visible = FForm->HandleAllocated() && IsWindowVisible(FForm->Handle());
            const bool wasFull = FBorderLayer->FullBorder();
            if (CanShowBorderLayer() && visible && !FBorderLayer->Visible()) {
                FBorderLayer->SetActive(FFormActive, false);
                FBorderLayer->ShowWithForm();
                CorrectFormBounds();
            } else if (!CanShowBorderLayer() && FBorderLayer->Visible()) {
                FBorderLayer->Hide();
                CorrectFormBounds();
            }
            // A full border changes what the form's own window is: the frame is built again.
            if (wasFull || FBorderLayer->FullBorder())
                ChangeSkinData();
            return false;
        }
        case WM_CHANGEAEROBLURENABLED:
            if (FBorderLayer->Visible() && CanShowBorderLayer()) {
                FBorderLayer->Hide();
                FBorderLayer->ShowWithForm();
            }
            return false;
        case WM_TRAYSHOWMAINFORM:
            if (FForm->Tag() == kTrayFormTag) {
                if (CanShowBorderLayer()) {
                    if (TCustomForm* main = Application->MainForm(); main && main->HandleAllocated())
                        SetForegroundWindow(main->Handle());
                    // Stay-on-top forms come back above the main form and its border.
                    for (int i = 0; i < Screen->FormCount(); ++i) {
                        TCustomForm* f = Screen->Forms(i);
                        if (f->FormStyle() == fsStayOnTop && f->HandleAllocated() && IsWindowVisible(f->Handle()) &&
                            !dynamic_cast<TbsFormLayerWindow*>(f))
                            SetForegroundWindow(f->Handle());
                    }
                }
                FForm->SetTag(0);
            }
            return false;
        case WM_SYSCOMMAND:
            if ((m.WParam & 0xFFF0) == SC_RESTORE && OnRestore && FSkinnableForm)
                OnRestore(this);
            return false;
        default:
            return false;
    }
}

void TbsSkinForm::StatesAfter(TMessage& m) {
    if (!FSkinnableForm)
        return;
    if (m.Msg == WM_NCLBUTTONDBLCLK && m.WParam == HTCAPTION)
        CaptionDblClick();
}
