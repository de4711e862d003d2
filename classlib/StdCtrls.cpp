// TButton: a superclassed system button with the dialog keys of a form.
#include "classlib/StdCtrls.h"

#include "classlib/Forms.h"
#include "classlib/Menus.h"

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
    // The system button tracks the mouse and reports clicks itself (BN_CLICKED).
    SetControlStyle({csSetCaption, csDoubleClicks, csOpaque});
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"BUTTON");
    Params.Style |= active_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetButtonStyle(bool ADefault) {
    if (active_ == ADefault)
        return;
    active_ = ADefault;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETSTYLE, ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::SetDefault(bool Value) {
    default_ = Value;
    TCustomForm* form = GetParentForm(this);
    TWinControl* focused = form ? form->ActiveControl() : nullptr;
    SetButtonStyle(focused == this || (Value && !dynamic_cast<TButton*>(focused)));
}

void TButton::Click() {
    if (TCustomForm* form = GetParentForm(this); form && modalResult_ != 0)
        form->SetModalResult(modalResult_);
    TWinControl::Click();
}

void TButton::WndProc(TMessage& Message) {
    switch (Message.Msg) {
        case CN_COMMAND:
            if (HIWORD(Message.WParam) == BN_CLICKED) {
                Click();
                return;
            }
            break;
        case CM_DIALOGKEY: {
            const WORD key = static_cast<WORD>(Message.WParam);
            const TShiftState shift = KeyDataToShiftState(Message.LParam);
            if (((key == VK_RETURN && active_) || (key == VK_ESCAPE && cancel_)) && !shift.Contains(ssAlt) &&
                !shift.Contains(ssCtrl) && CanFocus()) {
                Click();
                Message.Result = 1;
                return;
            }
            Message.Result = 0;
            return;
        }
        case CM_DIALOGCHAR:
            if (IsAccel(static_cast<WORD>(Message.WParam), Caption()) && CanFocus()) {
                Click();
                Message.Result = 1;
                return;
            }
            Message.Result = 0;
            return;
        case CM_FOCUSCHANGED: {
            auto* sender = reinterpret_cast<TWinControl*>(Message.LParam);
            SetButtonStyle(sender == this || (default_ && !dynamic_cast<TButton*>(sender)));
            return;
        }
        default:
            break;
    }
    TWinControl::WndProc(Message);
}
