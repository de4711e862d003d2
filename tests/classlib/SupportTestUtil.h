// Helpers shared by the support and graphics tests: the lines of a string list, and the temporary folder and the
// whole-file reads and writes of TestFiles.h (independent of the classlib file code under test).
#pragma once

#include <string>
#include <vector>

#include "TestFiles.h"
#include "classlib/Classes.h"

using trelm_test::ReadFileString;
using trelm_test::TTempDir;
using trelm_test::WriteFileBytes;

inline std::vector<std::wstring> Lines(const TStrings& list) {
    std::vector<std::wstring> v;
    for (int i = 0; i < list.Count(); ++i)
        v.push_back(list.Get(i));
    return v;
}
