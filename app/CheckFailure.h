// Why a check failed, as the user is told in the tray hint: the cause graded from the network layer's status, and
// its text in the program's three languages. These texts are not lines of the 88-line language table (a language
// file does not carry them): they follow the built-in language chosen in the settings, beside the table.
// Index: CheckFailureOf, CheckFailureText, CheckFailureHint.
#pragma once

#include <cstdint>
#include <string>

#include "app/DataModel.h"
#include "netlib/net_status.h"

// The cause of a finished check; None for a success. A cancelled check is not graded (the caller keeps the
// account's previous state): it neither succeeded nor showed a fault of the server.
TCheckFailure CheckFailureOf(const netlib::NetStatus& status);

// The cause in Russian (0), Belarusian (1) or Ukrainian (2); any other index reads Russian. Empty for None.
std::wstring CheckFailureText(TCheckFailure failure, uint8_t langIndex);

// One line per account whose last check failed, in list order: "login@domain: cause"; lines joined by line
// feeds; empty when no check failed.
std::wstring CheckFailureHint(const TNotifierLists& lists, uint8_t langIndex);
