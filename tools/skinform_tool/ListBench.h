// skinform_tool listbench: paging a long owner-data report view through its external bar against the same pages
// scrolled natively (see ListBench.cpp).
#pragma once

int ListBench();
