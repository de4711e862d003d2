// The pickers' tests on the shared skinned host form: controls placed on it with the fixture skin, the process's
// current folder put back after each test.
#pragma once

#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "PickerTestSupport.h"
#include "classlib/Classes.h"

namespace pktest {

class PickerHosted : public ctltest::HostedControls {
  protected:
    void TearDown() override {
        HostedControls::TearDown();
        SetCurrentDirectoryW(guard_.Saved().c_str());
    }
    template <class T>
    T* Place(int X, int Y, int W, int H) {
        auto* b = new T(host_->form);
        owned_.push_back(b);
        b->SetSkinData(host_->data);
        b->SetParent(host_->form);
        b->SetBounds(X, Y, W, H);
        b->HandleNeeded();
        b->ChangeSkinData();
        Pump(20);
        return b;
    }
    CurrentDirGuard guard_;
};

inline std::vector<std::wstring> ItemsOf(TStrings* s) {
    std::vector<std::wstring> v;
    for (int i = 0; i < s->Count(); ++i)
        v.push_back(s->Get(i));
    return v;
}

}  // namespace pktest
