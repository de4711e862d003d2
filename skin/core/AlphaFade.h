// The blocking alpha fade-in of skinned windows (forms, their layered borders, menu levels, hints): the alpha rises
// from 0 to a target in equal steps, one step whenever more than a set time has passed since the last one, the last
// step capped at the target. It runs on the GUI thread and returns when the target is shown. The clock and the wait
// between steps are injectable, so tests and tools run a fade without real time passing.
#pragma once

#include <cstdint>
#include <functional>

// Milliseconds that wrap like the system tick count, and a wait of at least that many milliseconds (the fade's
// time-out counts on it when the clock stands still).
struct TFadeClock {
    std::function<std::uint32_t()> Now;
    std::function<void(std::uint32_t)> Sleep;
};

// The system tick count and Sleep.
TFadeClock SystemFadeClock();

struct TAlphaFade {
    int Target = 255;                // alpha at the end, 0..255
    int Step = 1;                    // rise per step, at least 1
    std::uint32_t IntervalMs = 5;    // a step comes when more than this has passed since the last one
    bool FirstStepAtOnce = true;     // else the first step also waits for the interval
    std::uint32_t TimeoutMs = 1000;  // a fade held up this long (clock or waits) jumps to the target
};

// The step of a fade to Target in Steps steps: Target div Steps, at least 1.
int AlphaFadeStep(int Target, int Steps);

// Runs the fade: Apply(alpha) for every step, the last call with exactly Target (none when Target is 0).
// A missing Now or Sleep in Clock falls back to the system's. Returns the number of Apply calls.
int RunAlphaFade(const TAlphaFade& Fade, const TFadeClock& Clock, const std::function<void(int)>& Apply);
