// The alert window component: showing, placing, fading, auto-hiding and keeping the messages in step.
#include "alert/MsgAlertWindow.h"

#include <algorithm>

#include "base/Report.h"
#include "classlib/Forms.h"
#include "classlib/Registry.h"
#include "classlib/SysUtils.h"

// ---- fade thread
// -----------------------------------------------------------------------------------------------------
TFadeThread::TFadeThread(TMsgAlertWindow* owner) : TThread(false), FLayeredWindow(owner) {
    OnTerminate = [owner, this](TObject*) { owner->FadeThreadDone(this); };
    Start();
}

void TFadeThread::Apply(int alpha) {
    TMsgAlertWindow* w = FLayeredWindow;
    w->FAlphaActual = alpha;
    Synchronize([w] { w->Update(); });
}

void TFadeThread::Wait(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms && !Terminated())
        Sleep(1);
}

void TFadeThread::Execute() {
    TMsgAlertWindow* w = FLayeredWindow;
    // A step of 0 would never reach the end: it counts as 1.
    const auto step = [w] { return std::max(1, w->FadeStep.load()); };
    if (w->FFadeIn) {
        Apply(w->AlphaStart);
        for (int a = w->AlphaStart; a < w->AlphaEnd && !Terminated() && !w->FShowFullAlpha; a += step()) {
            Apply(a);
            Wait(static_cast<DWORD>(std::max(0, w->FadeTime.load())));
        }
        if (!w->FShowFullAlpha && !Terminated())
            Apply(w->AlphaEnd);
    }
    if (w->FFadeIn)
        return;
    for (int a = w->AlphaEnd; a > 0 && !Terminated() && !w->FShowFullAlpha; a -= step()) {
        Apply(a);
        Wait(static_cast<DWORD>(std::max(0, w->FadeTime.load())));
    }
    if (!w->FShowFullAlpha && !Terminated())
        Apply(w->AlphaStart);
    if (w->OnHideMessage)
        w->OnHideMessage(w);
}

// ---- construction
// ------------------------------------------------------------------------------------------------------
TMsgAlertWindow::TMsgAlertWindow(TComponent* AOwner)
    : TComponent(AOwner),
      FOwner(AOwner),
      messages_(std::make_unique<TMsgCollection>(this)),
      font_(std::make_unique<TFont>()),
      background_(std::make_unique<TPicture>()),
      glyphPrev_(std::make_unique<TBitmap>()),
      glyphNext_(std::make_unique<TBitmap>()),
      glyphDelete_(std::make_unique<TBitmap>()),
      glyphClose_(std::make_unique<TBitmap>()),
      glyphPopup_(std::make_unique<TBitmap>()) {
    messages_->OnChange = [this](TObject*) { SyncMessages(); };
    messages_->OnDeleteItem = [this](TObject*, int index) { MessageItemDeleted(index); };
    font_->SetColor(clBlack);
    // One tick when the display time is over: the popup on show wakes the program no more often than that.
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(static_cast<UINT>(std::max(displayTime_, 1)));
    FTimer->OnTimer = [this](TObject*) { DisplayTimerTick(); };
    SetStyle(asOffice2003Blue);
}

TMsgAlertWindow::~TMsgAlertWindow() = default;

void TMsgAlertWindow::BeforeDestruction() {
    destroying_ = true;
    // Join every fade thread still alive; the GUI thread keeps serving their hand-overs meanwhile.
    ReapFadeThreads(true);
    FFadeThread = nullptr;
    if (FTimer)
        FTimer->SetEnabled(false);
    messages_->OnChange = nullptr;
    messages_->OnDeleteItem = nullptr;
    if (FAlertWindow) {
        TAlertWindow* w = FAlertWindow;
        FAlertWindow = nullptr;
        w->OnDestroy = [this](TObject*) {
            if (PersistPosition)
                SavePosition();
        };
        delete w;
    }
    TComponent::BeforeDestruction();
}

void TMsgAlertWindow::Loaded() {
    TComponent::Loaded();
    if (PersistPosition)
        LoadPosition();
}

void TMsgAlertWindow::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == container_)
        SetPictureContainer(nullptr);
    if (AComponent == images_)
        SetImages(nullptr);
    if (AComponent == popupMenu_)
        popupMenu_ = nullptr;
}

HRESULT TMsgAlertWindow::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (IsEqualGUID(riid, IID_IComponentStyle) || IsEqualGUID(riid, IID_IUnknown)) {
        *ppv = static_cast<IComponentStyle*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

// ---- simple properties ---------------------------------------------------------------------------------------------
void TMsgAlertWindow::SetAutoHide(bool v) {
    autoHide_ = v;
    SetTimerActive(v);
}

void TMsgAlertWindow::SetDisplayTime(int v) {
    displayTime_ = v;
    FTimer->SetInterval(static_cast<UINT>(std::max(displayTime_, 1)));
}

void TMsgAlertWindow::SetAutoDelete(bool v) {
    autoDelete_ = v;
    if (FAlertWindow)
        FAlertWindow->SetAutoDelete(v);
}

void TMsgAlertWindow::SetShowDelete(bool v) {
    showDelete_ = v;
    if (FAlertWindow)
        FAlertWindow->SetShowDelete(v);
}

void TMsgAlertWindow::SetShowPopup(bool v) {
    showPopup_ = v;
    if (FAlertWindow)
        FAlertWindow->SetShowPopup(v);
}

void TMsgAlertWindow::SetPositionFormat(const std::wstring& v) {
    positionFormat_ = v;
    if (FAlertWindow)
        FAlertWindow->SetPositionFormat(v);
}

int TMsgAlertWindow::PopupLeft() {
    if (FAlertWindow && FAlertWindow->Left() != -1)
        return FAlertWindow->Left();
    return popupLeft_;
}

int TMsgAlertWindow::PopupTop() {
    if (FAlertWindow && FAlertWindow->Top() != -1)
        return FAlertWindow->Top();
    return popupTop_;
}

void TMsgAlertWindow::SetPopupLeft(int v) {
    popupLeft_ = v;
    if (IsVisible())
        FAlertWindow->SetBounds(v, FAlertWindow->Top(), FAlertWindow->Width(), FAlertWindow->Height());
}

void TMsgAlertWindow::SetPopupTop(int v) {
    popupTop_ = v;
    if (IsVisible())
        FAlertWindow->SetBounds(FAlertWindow->Left(), v, FAlertWindow->Width(), FAlertWindow->Height());
}

template <typename T>
void TMsgAlertWindow::SetReference(T*& field, T* value) {
    // A reference to a component of another owner: told when it goes (Notification clears it).
    if (field == value)
        return;
    if (field)
        RemoveFreeNotification(field);
    field = value;
    if (value)
        FreeNotification(value);
}

void TMsgAlertWindow::SetImages(TCustomImageList* v) {
    SetReference(images_, v);
    if (FAlertWindow)
        FAlertWindow->Images = v;
}

void TMsgAlertWindow::SetPictureContainer(TPictureContainer* v) {
    SetReference(container_, v);
    if (FAlertWindow)
        FAlertWindow->PictureContainer = v;
}

void TMsgAlertWindow::SetPopupMenu(TPopupMenu* v) {
    SetReference(popupMenu_, v);
}

void TMsgAlertWindow::SetStyle(TMsgAlertWindowStyle v) {
    style_ = v;
    font_->SetColor(clBlack);
    TAlertStyleColors c;
    if (AlertStyleColors(v, c)) {
        WindowColor = c.Window;
        WindowColorTo = c.WindowTo;
        BtnDownColor = c.BtnDown;
        BtnDownColorTo = c.BtnDownTo;
        BtnHoverColor = c.BtnHover;
        BtnHoverColorTo = c.BtnHoverTo;
        CaptionColor = c.Caption;
        CaptionColorTo = c.CaptionTo;
        BorderColor = c.Border;
        font_->SetColor(c.Font);
        GradientDirection = gdVertical;
    }
    if (IsVisible()) {
        ApplyProperties();
        FAlertWindow->Invalidate();
    }
}

// ---- public state --------------------------------------------------------------------------------------------------
int TMsgAlertWindow::ActiveMessage() {
    if (messages_->Count() == 0 || !FAlertWindow)
        return -1;
    return FAlertWindow->ActiveMessage();
}

void TMsgAlertWindow::SetActiveMessage(int value) {
    if (FAlertWindow)
        FAlertWindow->SetActiveMessage(value);
}

bool TMsgAlertWindow::IsVisible() {
    return FAlertWindow && FAlertWindow->HandleAllocated() && IsWindowVisible(FAlertWindow->Handle());
}

HWND TMsgAlertWindow::Handle() {
    return FAlertWindow && FAlertWindow->HandleAllocated() ? FAlertWindow->Handle() : nullptr;
}

void TMsgAlertWindow::First() {
    if (IsVisible())
        FAlertWindow->First();
}
void TMsgAlertWindow::Last() {
    if (IsVisible())
        FAlertWindow->Last();
}
void TMsgAlertWindow::Next() {
    if (IsVisible())
        FAlertWindow->Next();
}
void TMsgAlertWindow::Previous() {
    if (IsVisible())
        FAlertWindow->Previous();
}

// ---- window preparation --------------------------------------------------------------------------------------------
HWND TMsgAlertWindow::OwnerWindow() {
    if (auto* control = dynamic_cast<TWinControl*>(FOwner))
        return control->Handle();
    if (TApplication* app = Application) {
        if (app->MainForm())
            return app->MainForm()->Handle();
        return app->Handle();
    }
    return nullptr;
}

void TMsgAlertWindow::PrepareWindow() {
    if (!FAlertWindow) {
        FAlertWindow = new TAlertWindow(nullptr);
        TAlertWindow* w = FAlertWindow;
        if (!AlwaysOnTop)
            w->SetParentWindow(OwnerWindow());
        w->OnMouseMove = [this](TObject*, TShiftState, int, int) { WindowMouseMove(); };
        w->OnMouseLeave = [this](TObject*) { WindowMouseLeave(); };
        w->OnWindowMoved = [this](TObject*) { WindowMoved(); };
        w->OnDeleteMessage = [this](TObject*, int index) { WindowDeleteMessage(index); };
        w->OnClose = [this](TObject*) {
            if (OnClose)
                OnClose(this);
        };
        w->OnCanClose = [this](TObject*, bool& canClose) {
            if (OnCanClose)
                OnCanClose(this, canClose);
        };
        w->OnNextMessage = [this](TObject*) {
            if (OnNextMessage)
                OnNextMessage(this);
        };
        w->OnPrevMessage = [this](TObject*) {
            if (OnPrevMessage)
                OnPrevMessage(this);
        };
        w->OnPopupbtnClick = [this](TObject*) { PopupButtonClick(); };
        w->OnAnchorClick = [this](TObject*, const std::wstring& anchor, int index) {
            if (OnAnchorClick)
                OnAnchorClick(this, anchor,
                              index >= 0 && index < messages_->Count() ? messages_->Items(index) : nullptr);
        };
        w->OnCustomPaint = [this](TObject* sender, TCanvas* canvas, TRect r, bool& defaultPaint) {
            if (OnCustomPaint)
                OnCustomPaint(sender, canvas, r, defaultPaint);
        };
        w->OnDestroy = [this](TObject*) {
            if (PersistPosition)
                SavePosition();
        };
        w->OnAlertClick = [this](TObject*) {
            if (OnAlertClick)
                OnAlertClick(this);
        };
        w->SetAlwaysOnTop(AlwaysOnTop);
    }
    RebuildMessages();
    FAlertWindow->SetBounds(popupLeft_, popupTop_, PopupWidth, PopupHeight);
    FAlertWindow->PictureContainer = container_;
    FAlertWindow->Images = images_;
    ApplyProperties();
}

void TMsgAlertWindow::ApplyProperties() {
    TAlertWindow* w = FAlertWindow;
    w->WindowColor = WindowColor;
    w->WindowColorTo = WindowColorTo;
    w->BtnDownColor = BtnDownColor;
    w->BtnDownColorTo = BtnDownColorTo;
    w->BtnHoverColor = BtnHoverColor;
    w->BtnHoverColorTo = BtnHoverColorTo;
    w->CaptionColor = CaptionColor;
    w->CaptionColorTo = CaptionColorTo;
    w->BorderColor = BorderColor;
    w->HintNextBtn = HintNextBtn;
    w->HintPrevBtn = HintPrevBtn;
    w->HintCloseBtn = HintCloseBtn;
    w->HintDeleteBtn = HintDeleteBtn;
    w->HintPopupBtn = HintPopupBtn;
    w->GradientDirection = GradientDirection;
    w->Background()->Assign(background_.get());
    w->MarginX = MarginX;
    w->MarginY = MarginY;
    w->SetFont(font_.get());
    w->AutoHide = false;
    w->BorderSize = 0;
    w->MaxWidth = MaxWidth;
    w->MaxHeight = MaxHeight;
    w->SetShowPopup(showPopup_);
    w->ShowScrollers = ShowScrollers;
    w->SetAutoSize(AutoSize);
    w->URLColor = URLColor;
    w->SetHover(Hover);
    w->SetPositionFormat(positionFormat_);
    w->SetAutoDelete(autoDelete_);
    w->SetShowDelete(showDelete_);
    w->SetGlyphPrev(glyphPrev_.get());
    w->SetGlyphNext(glyphNext_.get());
    w->SetGlyphDelete(glyphDelete_.get());
    w->SetGlyphClose(glyphClose_.get());
    w->SetGlyphPopup(glyphPopup_.get());
}

// ---- message copies
// ----------------------------------------------------------------------------------------------------
void TMsgAlertWindow::RebuildMessages() {
    if (!FAlertWindow)
        return;
    TAlertWindow* w = FAlertWindow;
    const bool wasVisible = IsVisible();
    if (BidiMode == bdRightToLeft && w->HandleAllocated())
        SetWindowLongPtrW(w->Handle(), GWL_EXSTYLE,
                          GetWindowLongPtrW(w->Handle(), GWL_EXSTYLE) | WS_EX_LAYOUTRTL | WS_EX_NOINHERITLAYOUT);
    TStringList* list = w->AlertMessages();
    TMsgCollection* info = w->AlertMessagesInfo();
    list->BeginUpdate();
    info->BeginUpdate();
    list->Clear();
    info->Clear();
    for (int i = 0; i < messages_->Count(); ++i) {
        TMsgCollectionItem* m = messages_->Items(i);
        list->AddObject(m->JoinedText(), reinterpret_cast<TObject*>(static_cast<std::intptr_t>(m->ImageIndex)));
        TMsgCollectionItem* copy = info->Add();
        copy->Assign(m);
    }
    info->EndUpdate();
    list->EndUpdate();
    w->SetAutoSize(w->AutoSize());
    if (OnShowMessage)
        OnShowMessage(this);
    if (messages_->Count() > 0 && wasVisible && !IsVisible())
        w->SetVisible(true);
}

void TMsgAlertWindow::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ > 0 || !syncPending_)
        return;
    syncPending_ = false;
    SyncMessages();
}

void TMsgAlertWindow::SyncMessages() {
    if (destroying_)
        return;
    if (updateCount_ > 0) {
        syncPending_ = true;
        return;
    }
    if (FAlertWindow && messages_->Count() < FAlertWindow->ActiveMessage())
        FAlertWindow->SetActiveMessage(messages_->Count());
    if (!IsVisible())
        return;
    TStringList* list = FAlertWindow->AlertMessages();
    TMsgCollection* info = FAlertWindow->AlertMessagesInfo();
    for (int i = 0; i < messages_->Count(); ++i) {
        TMsgCollectionItem* m = messages_->Items(i);
        TObject* image = reinterpret_cast<TObject*>(static_cast<std::intptr_t>(m->ImageIndex));
        if (i < list->Count()) {
            list->Put(i, m->JoinedText());
            list->PutObject(i, image);
        } else {
            list->AddObject(m->JoinedText(), image);
        }
        if (i < info->Count())
            info->Items(i)->Assign(m);
        else
            info->Add()->Assign(m);
    }
    FAlertWindow->Invalidate();
}

void TMsgAlertWindow::MessageItemDeleted(int Index) {
    if (destroying_ || !IsVisible())
        return;
    TAlertWindow* w = FAlertWindow;
    auto handler = std::move(w->OnDeleteMessage);
    w->OnDeleteMessage = nullptr;
    try {
        if (Index < w->AlertMessages()->Count())
            w->Delete(Index);
        if (Index < w->AlertMessagesInfo()->Count())
            w->AlertMessagesInfo()->Delete(Index);
    } catch (...) {
        w->OnDeleteMessage = std::move(handler);
        throw;
    }
    w->OnDeleteMessage = std::move(handler);
    if (OnDeleteMessage)
        OnDeleteMessage(this, Index);
    if (w->AlertMessagesInfo()->Count() == 0) {
        w->CloseWindow();
        w->SetActiveMessage(0);
    }
}

void TMsgAlertWindow::WindowDeleteMessage(int Index) {
    if (Index < 0 || Index >= messages_->Count())
        throw Exception(L"Invalid Index");
    bool canDelete = true;
    if (OnCanDeleteMessage)
        OnCanDeleteMessage(this, Index, canDelete);
    if (!canDelete)
        return;
    auto handler = std::move(messages_->OnDeleteItem);
    messages_->OnDeleteItem = nullptr;
    if (FAlertWindow) {
        if (Index < FAlertWindow->AlertMessages()->Count())
            FAlertWindow->AlertMessages()->Delete(Index);
    }
    messages_->Delete(Index);
    if (FAlertWindow && Index < FAlertWindow->AlertMessagesInfo()->Count())
        FAlertWindow->AlertMessagesInfo()->Delete(Index);
    messages_->OnDeleteItem = std::move(handler);
    if (OnDeleteMessage)
        OnDeleteMessage(this, Index);
    if (FAlertWindow && FAlertWindow->HandleAllocated())
        FAlertWindow->Invalidate();
}

void TMsgAlertWindow::DeleteMessage(int Index) {
    // Before the window exists (or while it is hidden, when its copies may lag behind) the collection itself is
    // the list: same index check and events.
    if (IsVisible())
        FAlertWindow->Delete(Index);
    else
        WindowDeleteMessage(Index);
}

// ---- show, hide, fade
// ----------------------------------------------------------------------------------------------------
int TMsgAlertWindow::PlaceWindow() {
    TRect work{};
    RECT primary{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0);
    work = {primary.left, primary.top, primary.right, primary.bottom};
    try {
        if (WorkAreaQuery) {
            work = WorkAreaQuery(OwnerWindow());
        } else {
            MONITORINFO mi{};
            mi.cbSize = sizeof mi;
            if (GetMonitorInfoW(MonitorFromWindow(OwnerWindow(), MONITOR_DEFAULTTONEAREST), &mi))
                work = {mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
        }
    } catch (const std::exception&) {
        // keep the primary work area
    }
    TAlertWindow* w = FAlertWindow;
    const TPoint p = AlertWindowPlace(WindowPosition, work, w->Width(), w->Height(), ScreenMarginX, ScreenMarginY,
                                      {popupLeft_, popupTop_});
    w->SetBounds(p.X, w->Top(), w->Width(), w->Height());
    return p.Y;
}

void TMsgAlertWindow::Show() {
    if (FTimer && FTimer->Enabled()) {
        FTimer->SetEnabled(false);
        FTimer->SetEnabled(true);
    }
    HWND focus = GetFocus();
    struct FocusBack {
        HWND wnd;
        ~FocusBack() {
            if (wnd && IsWindow(wnd) && GetFocus() != wnd)
                SetFocus(wnd);
        }
    } focusBack{focus};
    ReapFadeThreads(false);
    if (FFading && !FFadeIn) {
        // A fade-out runs: stop it and fade in again from AlphaStart.
        RebuildMessages();
        FFadeIn = true;
        FFading = false;
        if (FFadeThread)
            FFadeThread->Terminate();
        FFadeThread = nullptr;  // its end no longer concerns us
    } else if ((FFading && FFadeIn) || IsVisible()) {
        RebuildMessages();
        if (AutoSize) {
            FAlertWindow->SetAutoSize(true);
            const int top = PlaceWindow();
            FAlertWindow->SetBounds(FAlertWindow->Left(), top, FAlertWindow->Width(), FAlertWindow->Height());
        }
        return;
    }
    if (messages_->Count() == 0)
        return;
    PrepareWindow();
    SetTimerActive(false);
    SetTimerActive(autoHide_);
    if (AutoThemeAdapt)
        ThemeAdapt();
    TAlertWindow* w = FAlertWindow;
    w->WindowColor = WindowColor;
    w->WindowColorTo = WindowColorTo;
    w->BtnDownColor = BtnDownColor;
    w->BtnDownColorTo = BtnDownColorTo;
    w->BtnHoverColor = BtnHoverColor;
    w->BtnHoverColorTo = BtnHoverColorTo;
    w->CaptionColor = CaptionColor;
    w->CaptionColorTo = CaptionColorTo;
    w->GradientDirection = GradientDirection;
    w->SetFont(font_.get());
    const int top = PlaceWindow();
    w->HandleNeeded();
    FAlphaActual = AlphaStart.load();
    Update();
    FFadeIn = true;
    w->SetVisible(true);
    w->Update();
    SetWindowPos(w->Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
    w->SetBounds(w->Left(), top, w->Width(), w->Height());
    if (AlphaStart < AlphaEnd)
        StartFade();
}

void TMsgAlertWindow::Hide() {
    if (!FAlertWindow)
        return;
    FFadeIn = false;
    if (FFading)
        return;  // a fade-in turns into a fade-out by itself; a fade-out goes on
    StartFade();
}

void TMsgAlertWindow::StartFade() {
    ReapFadeThreads(false);
    FFading = true;
    FFadeThread = new TFadeThread(this);
    fadeThreads_.push_back(FFadeThread);
}

void TMsgAlertWindow::FadeThreadDone(TFadeThread* thread) {
    // Only the current fade acts at its end: an older, interrupted one must not hide a popup shown again.
    if (thread != FFadeThread || destroying_)
        return;
    if (FFadeIn) {
        if (!FShowFullAlpha)
            SetTimerActive(true);
    } else if (!FShowFullAlpha && FAlertWindow) {
        if (FAlertWindow->HandleAllocated())
            ShowWindow(FAlertWindow->Handle(), SW_HIDE);
        FAlertWindow->SetVisible(false);
    }
    FFadeThread = nullptr;
    FFading = false;
    FFadeOut = false;
}

void TMsgAlertWindow::ReapFadeThreads(bool all) {
    for (auto it = fadeThreads_.begin(); it != fadeThreads_.end();) {
        TFadeThread* t = *it;
        if (all || (t->Finished() && t != FFadeThread)) {
            if (all)
                t->Terminate();
            it = fadeThreads_.erase(it);
            try {
                // Wait while the whole object still exists; the GUI thread serves the hand-overs meanwhile.
                t->WaitFor();
            } catch (...) {
                ReportCaught("TMsgAlertWindow: fade thread wait");
            }
            delete t;
        } else {
            ++it;
        }
    }
}

void TMsgAlertWindow::CloseAlert() {
    if (FFading && FFadeThread) {
        FFadeThread->Terminate();
        Sleep(250);
    }
    if (FAlertWindow)
        FAlertWindow->CloseWindow();
}

void TMsgAlertWindow::Update() {
    if (!FAlertWindow || !FAlertWindow->HandleAllocated())
        return;
    if (FShowFullAlpha && AlphaStart != 255)
        return;
    SetLayeredAlpha(FAlertWindow->Handle(), WindowColor, static_cast<BYTE>(std::clamp(FAlphaActual.load(), 0, 255)));
}

void TMsgAlertWindow::SetAlpha(int a) {
    FAlphaActual = a;
    Update();
}

void TMsgAlertWindow::SetTimerActive(bool v) {
    if (!FTimer || destroying_)
        return;
    if (v && autoHide_) {
        // The display time counts again from now.
        FTimer->SetEnabled(false);
        FTimer->SetEnabled(true);
    } else {
        FTimer->SetEnabled(false);
    }
}

void TMsgAlertWindow::DisplayTimerTick() {
    if (FAlertWindow)
        FAlertWindow->AutoHiding = true;
    Hide();
    FTimer->SetEnabled(false);
    if (FAlertWindow) {
        if (OnAutoHide)
            OnAutoHide(this);
        FAlertWindow->AutoHiding = false;
    }
}

void TMsgAlertWindow::WindowMouseMove() {
    SetAlpha(255);
    if (FShowFullAlpha)
        return;
    FShowFullAlpha = true;
    if (FFadeThread)
        FFadeThread->Terminate();
    FShowFullAlpha = false;
    SetAlpha(255);
    FShowFullAlpha = true;
    SetTimerActive(false);
}

void TMsgAlertWindow::WindowMouseLeave() {
    if (!FShowFullAlpha)
        return;
    FShowFullAlpha = false;
    if (FAlertWindow && FAlertWindow->HandleAllocated())
        SetLayeredAlpha(FAlertWindow->Handle(), WindowColor, static_cast<BYTE>(AlphaEnd.load()));
    SetTimerActive(true);
}

void TMsgAlertWindow::WindowMoved() {
    WindowPosition = wpPreset;
    popupLeft_ = FAlertWindow->Left();
    popupTop_ = FAlertWindow->Top();
}

void TMsgAlertWindow::PopupButtonClick() {
    if (popupMenu_ && FAlertWindow) {
        const TRect r = FAlertWindow->PopupRect();
        popupMenu_->Popup(FAlertWindow->Left() + r.Right, FAlertWindow->Top() + r.Top);
        return;
    }
    if (OnPopupClick)
        OnPopupClick(this);
}

void TMsgAlertWindow::ThemeAdapt() {
    TMsgAlertWindowStyle style = asOffice2003Classic;
    if (HMODULE lib = LoadLibraryW(L"uxtheme.dll")) {
        using IsActive = BOOL(WINAPI*)();
        using ThemeName = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
        auto isActive = reinterpret_cast<IsActive>(reinterpret_cast<void*>(GetProcAddress(lib, "IsThemeActive")));
        auto name = reinterpret_cast<ThemeName>(reinterpret_cast<void*>(GetProcAddress(lib, "GetCurrentThemeName")));
        if (isActive && isActive() && name) {
            wchar_t file[255] = {}, color[255] = {}, size[255] = {};
            name(file, 255, color, 255, size, 255);
            const std::wstring scheme = color;
            if (scheme == L"NormalColor")
                style = asOffice2003Blue;
            else if (scheme == L"HomeStead")
                style = asOffice2003Olive;
            else if (scheme == L"Metallic")
                style = asOffice2003Silver;
        }
        FreeLibrary(lib);
    }
    SetStyle(style);
}

// ---- registry position
// -----------------------------------------------------------------------------------------------
namespace {

bool OpenPositionKey(TRegistry& reg, const std::wstring& registryKey) {
    // Relative to HKEY_CURRENT_USER: SOFTWARE\<key>\ALERT.
    const std::wstring name = registryKey.empty() ? L"AlertWindow" : registryKey;
    return reg.OpenKey(L"SOFTWARE\\" + name, true) && reg.OpenKey(L"ALERT", true);
}

}  // namespace

void TMsgAlertWindow::LoadPosition() {
    TRegistry reg;
    if (!OpenPositionKey(reg, RegistryKey))
        return;
    if (reg.ValueExists(L"X"))
        popupLeft_ = reg.ReadInteger(L"X");
    if (reg.ValueExists(L"Y"))
        popupTop_ = reg.ReadInteger(L"Y");
}

void TMsgAlertWindow::SavePosition() {
    TRegistry reg;
    if (!OpenPositionKey(reg, RegistryKey))
        return;
    reg.WriteInteger(L"X", PopupLeft());
    reg.WriteInteger(L"Y", PopupTop());
}
