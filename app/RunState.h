// The run-time values the scheduling, the result processing and the reminders share on the GUI thread; none of
// them is stored, and no other thread touches them: the check thread reports the end of its session through its
// own control block (TConectControl), which the scheduler reads into ConectRun.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TRunState {
    std::wstring ParolVvod;  // the start password as typed at start, trimmed
    int32_t KolEmVsego = 0;  // unread total of the last result processing
    int32_t KolEmPred = 0;   // and of the one before
    int32_t TikPovtor = 0;   // blink ticks since the last sound repeat
    int32_t PovtorEm = 0;    // mail sound repeats played
    int32_t PovtorSob = 0;   // reminder sound repeats played
    bool Trevoga = false;    // a reminder alarm is on
    bool ConectRun = false;  // a check is running (set when it starts, cleared when it ends normally or is stopped)
    int32_t TikPotok = 0;    // watchdog ticks of the running check
    int32_t LimitPotok = 3;  // watchdog ticks after which a check is ended
    int32_t NomerEm = -1;    // index of the account checked last in rotation
    bool PervTik = true;     // the next tick of the mail-check timer is the first one
    // Parallel to TNotifierLists::PopupKinds: the web page of the letter each popup message announces (empty for
    // a reminder), so that a click opens that letter whatever was deleted or sorted since.
    std::vector<std::wstring> PopupPages;
};
