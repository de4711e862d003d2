// The notifier's main window made in this process, for tests and benchmarks that need its objects (the skin
// container, the handle counts): made and shown as the program does, the maker's host pointed at a closed loopback
// port so that no server list is fetched. The settings are read from the program's folder. Test and tool code only.
#pragma once

#include <windows.h>

#include "app/MainForm.h"
#include "app/WebLinks.h"
#include "classlib/Forms.h"
#include "skin/core/SkinData.h"
#include "skin/core/CompressedSkin.h"

class TInProcessMainForm {
  public:
    TInProcessMainForm() {
        MakerSite().host = L"127.0.0.1";
        MakerSite().port = 9;
        Application->Initialize();
        form_ = Application->CreateForm<TAAForm1>();
        form_->Show();
        Pump(800);
        data_ = dynamic_cast<TbsSkinData*>(form_->FindComponent(L"SkinData"));
        list_ = dynamic_cast<TbsCompressedSkinList*>(form_->FindComponent(L"SkinList2"));
    }
    ~TInProcessMainForm() {
        form_->Shutdown();
        delete form_;
    }
    TInProcessMainForm(const TInProcessMainForm&) = delete;
    TInProcessMainForm& operator=(const TInProcessMainForm&) = delete;

    TAAForm1* Form() const { return form_; }
    HWND Handle() const { return form_->Handle(); }
    TbsSkinData* SkinData() const { return data_; }
    int SkinCount() const { return list_ ? list_->Skins()->Count() : 0; }

    // Runs the message loop for ms.
    static void Pump(DWORD ms) {
        const ULONGLONG end = GetTickCount64() + ms;
        while (GetTickCount64() < end) {
            Application->ProcessMessages();
            Sleep(10);
        }
    }

  private:
    TAAForm1* form_ = nullptr;
    TbsSkinData* data_ = nullptr;            // borrowed: a component of the form
    TbsCompressedSkinList* list_ = nullptr;  // borrowed: a component of the form
};
