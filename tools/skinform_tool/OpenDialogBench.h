// skinform_tool opendlgbench [FILES]: the open dialog on a folder of many files, the time to its first painted list
// against enumerating the same folder through the shell without a view (see OpenDialogBench.cpp).
#pragma once

int OpenDialogBench(int Files);
