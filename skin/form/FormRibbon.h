// What the skinned form asks of a ribbon placed on its form (the ribbon lives in skin/ribbon and implements this):
// Alt or F10 closes its application menu and focuses it, Alt with a tab's accelerator selects that tab, a maximised
// or restored MDI child shows or removes its MDI buttons, and while the application menu is open its caption is
// drawn into the form's title. Index: IbsFormRibbon.
#pragma once

#include "classlib/Controls.h"

class TbsSkinForm;
class TCanvas;
class TbsRibbonPage;

class IbsFormRibbon {
  public:
    virtual ~IbsFormRibbon() = default;
    virtual void SetSkinForm(TbsSkinForm* Value) = 0;
    virtual void HideAppMenu() = 0;
    virtual bool AppMenuVisible() = 0;
    virtual void FocusRibbon() = 0;
    virtual void SetActivePage(TbsRibbonPage* Page) = 0;
    // The application button's popup menu's short cuts, then Alt with a tab caption's accelerator.
    virtual bool RibbonShortCut(TWMKey& Key) = 0;
    virtual void MDIChildMaximize() = 0;
    virtual void MDIChildRestore() = 0;
    virtual bool CanDrawAppMenuCaption() = 0;
    virtual void DrawAppMenuCaption(TCanvas* Canvas, const TRect& R1, const TRect& R2) = 0;
    virtual int GetAppMenuCaptionOffset() = 0;
    virtual int AppMenuItemWidth() = 0;
};
