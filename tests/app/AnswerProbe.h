// How long a window takes to answer: another thread asks it SendMessageTimeout(WM_NULL) again and again and keeps
// every answer time. The window may belong to another process. Test and tool code only.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace trelm_test {

class TAnswerProbe {
  public:
    // Asks every pauseMs; a question not answered within timeoutMs counts as a failure.
    TAnswerProbe(HWND wnd, DWORD pauseMs, DWORD timeoutMs)
        : wnd_(wnd), pauseMs_(pauseMs), timeoutMs_(timeoutMs), thread_([this] { Run(); }) {}
    ~TAnswerProbe() { Stop(); }
    TAnswerProbe(const TAnswerProbe&) = delete;
    TAnswerProbe& operator=(const TAnswerProbe&) = delete;

    void Stop() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    ULONGLONG LongestMs() const { return longest_; }
    int Failures() const { return failures_; }
    int Asked() const { return asked_; }
    // The answer time that 99% of the questions did not exceed.
    ULONGLONG Percentile99() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (times_.empty())
            return 0;
        std::vector<ULONGLONG> sorted = times_;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() * 99 / 100];
    }

  private:
    void Run() {
        while (!stop_) {
            const ULONGLONG start = GetTickCount64();
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(wnd_, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs_, &result))
                ++failures_;
            const ULONGLONG took = GetTickCount64() - start;
            longest_ = std::max<ULONGLONG>(longest_, took);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                times_.push_back(took);
            }
            ++asked_;
            Sleep(pauseMs_);
        }
    }

    HWND wnd_;
    DWORD pauseMs_, timeoutMs_;
    std::atomic<bool> stop_{false};
    std::atomic<ULONGLONG> longest_{0};
    std::atomic<int> failures_{0};
    std::atomic<int> asked_{0};
    std::mutex mutex_;
    std::vector<ULONGLONG> times_;
    std::thread thread_;  // last: starts once everything above is set
};

}  // namespace trelm_test
