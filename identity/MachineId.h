// The machine identity string: a tag letter naming its source and up to 8 letters A to Z. The settings file
// stores it, and a file written on another computer is recognised by it.
#pragma once

#include <string>

std::wstring GetMachineId();
