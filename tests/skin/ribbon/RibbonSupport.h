// What the ribbon tests share: a fixture on the shared skinned host form that makes ribbons, pages and menus and
// frees them (pages with their ribbon), and the tab captions with Cyrillic and accelerators.
#pragma once

#include <gtest/gtest.h>

#include "PressTestSupport.h"
#include "skin/ribbon/AppMenu.h"
#include "skin/ribbon/Ribbon.h"
#include "skin/ribbon/RibbonPage.h"

namespace ribbontest {

using namespace ctltest;

class RibbonFixture : public ControlsFixture {
  protected:
    // A ribbon across the top of the host with Captions as its tabs' pages.
    TbsRibbon* MakeRibbon(const std::vector<std::wstring>& Captions, bool Skinned = false) {
        auto* r = new TbsRibbon(host_->form);
        owned_.push_back(r);
        r->SetParent(host_->form);
        if (Skinned)
            r->SetSkinData(host_->data);
        for (const std::wstring& c : Captions)
            r->Tabs()->Add()->Page()->SetCaption(c);
        if (!Captions.empty())
            r->SetTabIndex(0);
        r->HandleNeeded();
        return r;
    }
    // The ribbon painted into a memory bitmap (which also lays it out).
    std::unique_ptr<TBitmap> Shot(TbsRibbon* r) {
        return PaintInto(r->Width(), r->Height(), [r](HDC dc) { r->PaintTo(dc, 0, 0); });
    }
    void TearDown() override {
        ControlsFixture::TearDown();
        host_->skinForm->SetSkinRibbon(nullptr);
    }
};

}  // namespace ribbontest
