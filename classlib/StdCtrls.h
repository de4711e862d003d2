// Standard controls over the system's own window classes.
// Index: TButton.
//
// TButton superclasses the system BUTTON class (so other programs see a real button with its caption). The
// button that is the dialog's default (Default) answers Enter and the cancel button (Cancel) answers Esc when
// the focus is on a control that does not want those keys itself; a focused button answers Enter itself. A
// button with a ModalResult closes its modal form with that result when clicked. GUI thread only.
#pragma once

#include "classlib/Controls.h"

class TButton : public TWinControl {
  public:
    explicit TButton(TComponent* AOwner);

    bool Default() const { return default_; }
    void SetDefault(bool Value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool Value) { cancel_ = Value; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int Value) { modalResult_ = Value; }

    void Click() override;
    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;

  private:
    void SetButtonStyle(bool ADefault);

    bool default_ = false;
    bool cancel_ = false;
    bool active_ = false;  // shows the default frame and answers Enter
    int modalResult_ = 0;
};
