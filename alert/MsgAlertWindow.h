// TMsgAlertWindow: the non-visual component that owns the popup messages and one TAlertWindow, places it on the
// work area, fades it from a worker thread, hides it after a display time, keeps the window's copies of the
// messages in step, and raises the events. Index: IComponentStyle (+ IID_IComponentStyle), TFadeThread,
// TMsgAlertWindow.
//
// Threads: a fade runs in a TFadeThread that changes the window only through Update handed to the GUI thread
// (Synchronize) and raises OnHideMessage itself (so that handler must be thread-safe). Only the thread that is the
// component's current fade acts at its end; every fade thread still alive is joined when the component goes
// (the GUI thread keeps serving hand-overs while it waits). Everything else: GUI thread only.
#pragma once

#include <objbase.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "alert/AlertStyles.h"
#include "alert/AlertWindow.h"
#include "alert/HtmlPicture.h"
#include "alert/MsgCollection.h"
#include "classlib/Component.h"
#include "classlib/ExtCtrls.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "classlib/Thread.h"

// {5E2B7A91-4C3D-4F8E-9A61-2D7C0B3E8F14}
inline constexpr GUID IID_IComponentStyle = {0x5E2B7A91,
                                             0x4C3D,
                                             0x4F8E,
                                             {0x9A, 0x61, 0x2D, 0x7C, 0x0B, 0x3E, 0x8F, 0x14}};

class IComponentStyle : public IUnknown {
  public:
    virtual void STDMETHODCALLTYPE SetStyleIndex(int Value) = 0;
};

enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

class TMsgAlertWindow;

class TFadeThread : public TThread {
  public:
    explicit TFadeThread(TMsgAlertWindow* owner);

  protected:
    void Execute() override;

  private:
    void Apply(int alpha);
    void Wait(DWORD ms);
    TMsgAlertWindow* FLayeredWindow;
};

using TOnAnchorClickEvent = std::function<void(TObject* Sender, const std::wstring& Anchor, TMsgCollectionItem* Item)>;
using TCanDeleteEvent = std::function<void(TObject* Sender, int Index, bool& CanDelete)>;

class TMsgAlertWindow : public TComponent, public IComponentStyle {
  public:
    explicit TMsgAlertWindow(TComponent* AOwner);
    ~TMsgAlertWindow() override;
    void BeforeDestruction() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // IComponentStyle (reference counting is not used: the component's lifetime is its owner's business).
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
    void STDMETHODCALLTYPE SetStyleIndex(int Value) override { SetStyle(static_cast<TMsgAlertWindowStyle>(Value)); }

    // ---- actions ----
    void Show();
    void Hide();
    void CloseAlert();
    void Update();
    void First();
    void Last();
    void Next();
    void Previous();
    void DeleteMessage(int Index);
    void LoadPosition();
    void SavePosition();

    // ---- messages and state ----
    TMsgCollection* AlertMessages() { return messages_.get(); }
    // Changes to the messages between BeginUpdate and the matching EndUpdate reach the popup once, at the last
    // EndUpdate, instead of once per change.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int ActiveMessage();
    void SetActiveMessage(int value);
    bool IsVisible();
    bool IsFading() const { return FFading.load(); }
    HWND Handle();
    TAlertWindow* AlertWindow() { return FAlertWindow; }
    static constexpr const wchar_t* Version = L"1.9.0.5";

    // ---- properties that only store ----
    std::atomic<int> AlphaStart{0};
    std::atomic<int> AlphaEnd{180};
    std::atomic<int> FadeTime{50};  // milliseconds per step
    std::atomic<int> FadeStep{2};   // alpha per step; 0 counts as 1
    bool AlwaysOnTop = false;
    bool AutoThemeAdapt = false;
    bool AutoSize = false;
    TBiDiMode BidiMode = bdLeftToRight;
    TColor WindowColor = 0, WindowColorTo = 0, BorderColor = 0;
    TColor BtnHoverColor = 0, BtnHoverColorTo = 0, BtnDownColor = 0, BtnDownColorTo = 0;
    TColor CaptionColor = 0, CaptionColorTo = 0;
    TColor URLColor = clBlue;
    TGradientDirection GradientDirection = gdVertical;
    std::wstring HintNextBtn = L"Next", HintPrevBtn = L"Previous", HintCloseBtn = L"Close", HintDeleteBtn = L"Delete",
                 HintPopupBtn = L"Popup";
    bool Hover = false;
    int MarginX = 4, MarginY = 1;
    int MaxWidth = 0, MaxHeight = 0;
    bool PersistPosition = false;
    int PopupWidth = 300, PopupHeight = 100;
    std::wstring RegistryKey;
    bool ShowScrollers = false;
    TWindowPosition WindowPosition = wpRightBottom;
    int ScreenMarginX = 0, ScreenMarginY = 0;
    // The work area for the owner window's monitor; tests replace it. Default: the monitor nearest to the owner
    // (the primary work area when that query fails).
    std::function<TRect(HWND owner)> WorkAreaQuery;

    // ---- properties with side effects ----
    bool AutoHide() const { return autoHide_; }
    void SetAutoHide(bool v);
    int DisplayTime() const { return displayTime_; }
    void SetDisplayTime(int v);
    bool AutoDelete() const { return autoDelete_; }
    void SetAutoDelete(bool v);
    bool ShowDelete() const { return showDelete_; }
    void SetShowDelete(bool v);
    bool ShowPopup() const { return showPopup_; }
    void SetShowPopup(bool v);
    const std::wstring& PositionFormat() const { return positionFormat_; }
    void SetPositionFormat(const std::wstring& v);
    int PopupLeft();
    void SetPopupLeft(int v);
    int PopupTop();
    void SetPopupTop(int v);
    TMsgAlertWindowStyle Style() const { return style_; }
    void SetStyle(TMsgAlertWindowStyle v);
    TFont* Font() { return font_.get(); }
    void SetFont(TFont* v) { font_->Assign(v); }
    TPicture* Background() { return background_.get(); }
    TBitmap* GlyphPrev() { return glyphPrev_.get(); }
    TBitmap* GlyphNext() { return glyphNext_.get(); }
    TBitmap* GlyphDelete() { return glyphDelete_.get(); }
    TBitmap* GlyphClose() { return glyphClose_.get(); }
    TBitmap* GlyphPopup() { return glyphPopup_.get(); }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* v);
    TPictureContainer* PictureContainer() const { return container_; }
    void SetPictureContainer(TPictureContainer* v);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* v);

    // ---- events ----
    TOnAnchorClickEvent OnAnchorClick;
    TNotifyEvent OnAlertClick;
    TNotifyEvent OnAutoHide;
    TCanDeleteEvent OnCanDeleteMessage;
    TDeleteMessageEvent OnDeleteMessage;
    TNotifyEvent OnClose;
    TCanCloseEvent OnCanClose;
    TCustomPaintEvent OnCustomPaint;
    TNotifyEvent OnNextMessage;
    TNotifyEvent OnPrevMessage;
    TNotifyEvent OnPopupClick;
    TNotifyEvent OnShowMessage;
    TNotifyEvent OnHideMessage;  // raised on the fade thread

    // Number of fade threads not yet joined (for tests).
    int LiveFadeThreads() const { return static_cast<int>(fadeThreads_.size()); }

  private:
    friend class TFadeThread;
    template <typename T>
    void SetReference(T*& field, T* value);
    void PrepareWindow();
    void ApplyProperties();
    void RebuildMessages();
    void SyncMessages();
    void MessageItemDeleted(int Index);
    void WindowDeleteMessage(int Index);
    int PlaceWindow();
    void StartFade();
    void FadeThreadDone(TFadeThread* thread);
    void ReapFadeThreads(bool all);
    void SetTimerActive(bool v);
    void DisplayTimerTick();
    void SetAlpha(int a);
    void WindowMouseMove();
    void WindowMouseLeave();
    void WindowMoved();
    void PopupButtonClick();
    void ThemeAdapt();
    HWND OwnerWindow();

    TComponent* FOwner;
    TAlertWindow* FAlertWindow = nullptr;  // owned (created without owner)
    std::unique_ptr<TMsgCollection> messages_;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TPicture> background_;
    std::unique_ptr<TBitmap> glyphPrev_, glyphNext_, glyphDelete_, glyphClose_, glyphPopup_;
    TTimer* FTimer = nullptr;  // owned through the component tree
    TCustomImageList* images_ = nullptr;
    TPictureContainer* container_ = nullptr;
    TPopupMenu* popupMenu_ = nullptr;
    std::atomic<int> FAlphaActual{0};
    std::atomic<bool> FFadeIn{false};
    std::atomic<bool> FFadeOut{false};
    std::atomic<bool> FFading{false};
    std::atomic<bool> FShowFullAlpha{false};
    TFadeThread* FFadeThread = nullptr;      // the current fade, nullptr when none
    std::vector<TFadeThread*> fadeThreads_;  // every fade thread not yet joined (owned)
    bool autoHide_ = true;
    int displayTime_ = 5000;
    bool autoDelete_ = false;
    bool showDelete_ = true;
    bool showPopup_ = false;
    std::wstring positionFormat_ = L"%d of %d";
    int popupLeft_ = 0, popupTop_ = 0;
    TMsgAlertWindowStyle style_ = asOffice2003Blue;
    bool destroying_ = false;
    int updateCount_ = 0;
    bool syncPending_ = false;
};
