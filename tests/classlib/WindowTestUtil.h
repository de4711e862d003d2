// Helpers of the window, form and menu tests: pumping the message loop, catching reported exceptions, reading
// screen pixels, a watch on a component's life, and two plain controls.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Forms.h"

// Handles messages until pred() holds or timeoutMs passed; true when pred() held.
inline bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 2000) {
    const DWORD start = GetTickCount();
    for (;;) {
        Application->ProcessMessages();
        if (pred())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Handles messages for about ms milliseconds.
inline void Pump(DWORD ms = 50) {
    PumpUntil([] { return false; }, ms);
}

// Replaces the application's error box for the life of the object and records what was reported.
class ExceptionRecorder {
  public:
    ExceptionRecorder() {
        Application->OnException = [this](TObject*, const std::exception& e) { messages.push_back(e.what()); };
    }
    ~ExceptionRecorder() { Application->OnException = nullptr; }
    ExceptionRecorder(const ExceptionRecorder&) = delete;
    ExceptionRecorder& operator=(const ExceptionRecorder&) = delete;
    std::vector<std::string> messages;
};

// The colour of a screen pixel as 0x00BBGGRR.
inline COLORREF ScreenPixel(int x, int y) {
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return c;
}

// A borderless form at a fixed screen place, shown and painted.
inline void PlaceForm(TCustomForm* form, int x, int y, int w, int h) {
    form->SetBorderStyle(bsNone);
    form->SetBounds(x, y, w, h);
}

// Free notification of a component of any owner: tells whether it is still alive.
class Alive : public TComponent {
  public:
    explicit Alive(TComponent* target) : TComponent(nullptr), target_(target) { FreeNotification(target); }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == target_)
            target_ = nullptr;
    }
    bool operator()() const { return target_ != nullptr; }

  private:
    TComponent* target_;
};

// A windowed and a non-windowed control with nothing of their own.
class Box : public TCustomControl {
  public:
    using TCustomControl::TCustomControl;
};

class Shape : public TGraphicControl {
  public:
    using TGraphicControl::TGraphicControl;
};
