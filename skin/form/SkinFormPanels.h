// TbsClientInActivePanel: the cover a skinned form lays over its client area while it is inactive (its
// ClientInActiveEffect): a snapshot of the client area, dimmed by the form's background or blurred.
//
// Ownership: the panel owns its snapshot; it is owned by the skinned form component and a child window of the form
// while shown. GUI thread only.
#pragma once

#include <memory>

#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "skin/core/SkinBitmap.h"
#include "skin/form/SkinForm.h"

class TbsClientInActivePanel : public TCustomControl {
  public:
    explicit TbsClientInActivePanel(TComponent* AOwner);
    ~TbsClientInActivePanel() override;

    // Takes the client area's picture, applies the effect and shows the panel over the whole client area; nothing
    // when the form is hidden or its client area is empty.
    void ShowPanel(TCustomForm* AForm, TbsClientInActiveEffect AEffect);
    void HidePanel();
    TbsBitmap* Buffer() const { return FBuffer.get(); }

  protected:
    void Paint() override;
    void WndProc(TMessage& Message) override;

  private:
    std::unique_ptr<TbsBitmap> FBuffer;
};
