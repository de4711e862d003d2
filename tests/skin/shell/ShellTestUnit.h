// The shell layer's start for a whole test program: one TbsShellUnit from the first test to the last.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "skin/shell/ShellFolder.h"

class ShellUnitEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { unit_ = std::make_unique<TbsShellUnit>(); }
    void TearDown() override { unit_.reset(); }

  private:
    std::unique_ptr<TbsShellUnit> unit_;
};
