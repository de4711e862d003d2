// The blocking alpha fade on a fake clock: the alphas of the steps, the time between them, the end value exactly
// reached, and the time-out against a clock that jumps ahead or stands still.
#include "skin/core/AlphaFade.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// A clock that only moves when the fade sleeps (or when a test moves it), and records every step.
struct FakeFade {
    std::uint32_t time = 1000;
    std::uint32_t perReading = 0;  // added at every reading
    std::vector<int> alphas;
    std::vector<std::uint32_t> times;
    std::vector<std::uint32_t> sleeps;
    int readings = 0;

    TFadeClock Clock() {
        return {[this] {
                    ++readings;
                    time += perReading;
                    return time;
                },
                [this](std::uint32_t ms) {
                    sleeps.push_back(ms);
                    time += ms;
                }};
    }
    int Run(const TAlphaFade& f) {
        return RunAlphaFade(f, Clock(), [this](int a) {
            alphas.push_back(a);
            times.push_back(time);
        });
    }
};

std::vector<int> Ramp(int step, int target) {
    std::vector<int> r;
    for (int a = step; a < target; a += step)
        r.push_back(a);
    r.push_back(target);
    return r;
}

struct StepCase {
    const char* name;
    int target;
    int steps;  // the caller's divisor
    std::uint32_t interval;
    bool firstAtOnce;
    int expectedStep;
    std::size_t expectedCount;
};

TEST(AlphaFade, StepsRiseEvenlyAndEndExactlyOnTheTarget) {
    const StepCase cases[] = {
        {"form to opaque", 255, 15, 5, true, 17, 15},
        {"form or menu to 200", 200, 15, 5, true, 13, 16},
        {"hint to 200", 200, 10, 3, true, 20, 10},
        {"border to 150, first step after the interval", 150, 15, 5, false, 10, 15},
        {"target below the divisor", 7, 15, 5, true, 1, 7},
        {"a whole fade in one step", 255, 0, 5, true, 255, 1},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeFade fake;
        const std::uint32_t start = fake.time;
        TAlphaFade f;
        f.Target = c.target;
        f.Step = AlphaFadeStep(c.target, c.steps);
        f.IntervalMs = c.interval;
        f.FirstStepAtOnce = c.firstAtOnce;
        EXPECT_EQ(f.Step, c.expectedStep);
        EXPECT_EQ(fake.Run(f), static_cast<int>(c.expectedCount));
        EXPECT_EQ(fake.alphas, Ramp(c.expectedStep, c.target));
        ASSERT_EQ(fake.times.size(), c.expectedCount);
        // The first step at once or after more than the interval; then each one more than the interval later.
        EXPECT_EQ(fake.times[0] - start, c.firstAtOnce ? 0u : c.interval + 1);
        for (std::size_t i = 1; i < fake.times.size(); ++i)
            EXPECT_EQ(fake.times[i] - fake.times[i - 1], c.interval + 1) << "step " << i;
        // The waits sleep until the next step is due, never a busy zero.
        for (std::uint32_t s : fake.sleeps)
            EXPECT_GT(s, 0u);
    }
}

TEST(AlphaFade, NothingToDoForATargetOfZeroAndOutOfRangeValuesAreClamped) {
    FakeFade zero;
    TAlphaFade f;
    f.Target = 0;
    EXPECT_EQ(zero.Run(f), 0);
    EXPECT_TRUE(zero.alphas.empty());

    FakeFade high;
    f.Target = 400;
    f.Step = 0;  // a step of 0 would never arrive: it counts as 1
    f.IntervalMs = 0;
    EXPECT_EQ(high.Run(f), 255);
    ASSERT_FALSE(high.alphas.empty());
    EXPECT_EQ(high.alphas[1], 2);
    EXPECT_EQ(high.alphas.back(), 255);
}

TEST(AlphaFade, AClockMovingEveryReadingStepsAtEveryReading) {
    // The skinned form's own test clock: 6 ms a reading, one reading before the loop and one per step.
    FakeFade fake;
    fake.perReading = 6;
    TAlphaFade f;
    f.Target = 255;
    f.Step = 17;
    EXPECT_EQ(fake.Run(f), 15);
    EXPECT_EQ(fake.readings, 16);
    EXPECT_TRUE(fake.sleeps.empty());
}

TEST(AlphaFade, AClockThatJumpsPastTheTimeOutEndsTheFadeOnTheTarget) {
    FakeFade fake;
    TAlphaFade f;
    f.Target = 255;
    f.Step = 17;
    f.TimeoutMs = 500;
    int calls = 0;
    RunAlphaFade(f, fake.Clock(), [&](int a) {
        fake.alphas.push_back(a);
        if (++calls == 2)
            fake.time += 501;  // the thread was held up after the second step
    });
    EXPECT_EQ(fake.alphas, (std::vector<int>{17, 34, 255}));
}

TEST(AlphaFade, AClockThatWrapsAroundKeepsStepping) {
    FakeFade fake;
    fake.time = 0xFFFFFFF0u;
    TAlphaFade f;
    f.Target = 255;
    f.Step = 17;
    EXPECT_EQ(fake.Run(f), 15);
    EXPECT_EQ(fake.alphas, Ramp(17, 255));
}

TEST(AlphaFade, AClockThatStandsStillCannotHoldTheFadeForever) {
    std::vector<int> alphas;
    std::uint64_t slept = 0;
    int sleeps = 0;
    TAlphaFade f;
    f.Target = 200;
    f.Step = 13;
    f.IntervalMs = 5;
    f.TimeoutMs = 300;
    const TFadeClock stuck{[] { return 77u; },
                           [&](std::uint32_t ms) {
                               slept += ms;
                               ++sleeps;
                           }};
    RunAlphaFade(f, stuck, [&](int a) { alphas.push_back(a); });
    // The first step comes at once; then the waits add up to the time-out and the target is shown.
    EXPECT_EQ(alphas, (std::vector<int>{13, 200}));
    EXPECT_GT(slept, 300u);
    EXPECT_LE(slept, 300u + 6u);
    EXPECT_EQ(sleeps, 51);
}

TEST(AlphaFade, TheSystemClockRunsARealFade) {
    std::vector<int> alphas;
    TAlphaFade f;
    f.Target = 60;
    f.Step = AlphaFadeStep(60, 15);
    f.IntervalMs = 1;
    RunAlphaFade(f, {}, [&](int a) { alphas.push_back(a); });
    EXPECT_EQ(alphas, Ramp(4, 60));
}

}  // namespace
