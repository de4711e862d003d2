// A test fixture that opens TrelmMail.exe (beside the test program) as a resource module, for tests that read what
// the build put into the notifier's resources.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include "base/Files.h"
#include "base/Handles.h"

class TNotifierModuleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        module_.Reset(LoadLibraryExW((ProgramFolder() + L"TrelmMail.exe").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(module_.Valid());
    }
    HMODULE Module() const { return module_.Get(); }

  private:
    TModuleHandle module_;
};
