// The mail-check thread and the hand-over of its results to the GUI thread.
// Index: TConectOutcome, TConectQueue, ApplyConectOutcome, TConectControl, TConectContext, TThread_Conect.
//
// A check thread copies the account's connection fields when it is created and never touches the account or the
// letter lists: it pushes one finished TConectOutcome into a locked queue, which the result processing drains on
// the GUI thread and applies to the account and the lists. The GUI thread never reads a list while it grows.
#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/DataModel.h"
#include "app/MailCheck.h"
#include "base/Handles.h"
#include "classlib/Thread.h"

// What one check leaves for the result processing.
struct TConectOutcome {
    uint64_t AccountId = 0;          // the account checked (AListEm::Id) ...
    uint32_t AccountGeneration = 0;  // ... as it was when the check began
    std::wstring AnnouncedKey;       // TAnnouncedLetters::KeyOf the account as checked
    int32_t KolEm = 0;
    TDateTime ProvEm = 0;
    std::vector<std::unique_ptr<AListPism>> Letters;  // new letters in the server's order
    netlib::NetStatus Status;
};

class TConectQueue {
  public:
    void Push(TConectOutcome outcome);
    std::vector<TConectOutcome> Drain();

  private:
    std::mutex mutex_;
    std::deque<TConectOutcome> outcomes_;
};

// GUI thread: writes KolEm, ProvEm and the graded failure (LastFailure; a cancelled check leaves it) into the
// account the check began on and appends the letters to the letters and new-letters lists. When that account has been
// deleted or edited since, the outcome is dropped and its letters are taken out of announced (may be null), so that the
// next check of the account announces them.
void ApplyConectOutcome(TConectOutcome& outcome, TNotifierLists& lists, TAnnouncedLetters* announced);

// Shared by the GUI thread and one check thread: the abort, the check's running flag and the end of the check.
// Each check has its own, so a thread that outlives the bounded stop wait writes only into its own block (which
// it co-owns), never into the next check's state or the main window's. The GUI thread keeps it after the thread has
// freed itself.
class TConectControl {
  public:
    TConectControl();
    ~TConectControl();
    TConectControl(const TConectControl&) = delete;
    TConectControl& operator=(const TConectControl&) = delete;

    // Ends the check at once: every network wait returns, the thread pushes what it has and ends.
    void Stop() { abort_->Abort(); }
    // The same for a check that took too long: its outcome reads as a time-out, not as a cancelled check.
    void StopTimedOut() {
        timedOut_.store(true);
        Stop();
    }
    bool TimedOut() const { return timedOut_.load(); }
    // Waits up to ms for the check to end; true when it has.
    bool WaitEnded(unsigned ms) const;
    bool Ended() const { return ended_.load(); }
    // Signalled when the check has ended (for waits that also do other things).
    HANDLE EndedHandle() const { return endedEvent_.Get(); }

    // Set from creation, before the thread starts; cleared by the thread when its session has ended normally. A
    // failed session leaves it set (the watchdog ends such a check).
    bool Running() const { return running_.load(); }
    const std::atomic<bool>& RunningFlag() const { return running_; }

    netlib::NetAbortPtr Abort() const { return abort_; }
    // The thread's side: the session ended normally (clears Running), then the thread's end.
    void MarkNormalEnd() { running_.store(false); }
    void MarkEnded();

  private:
    netlib::NetAbortPtr abort_;
    TKernelHandle endedEvent_;
    std::atomic<bool> running_{true};
    std::atomic<bool> timedOut_{false};
    std::atomic<bool> ended_{false};
};

struct TConectContext {
    TMailCheckOptions Options;                     // OtobrTextEm, time-outs; Announced is set from below
    std::shared_ptr<TAnnouncedLetters> Announced;  // may be null
    std::shared_ptr<TConectQueue> Queue;
    std::shared_ptr<TConectControl> Control;
};

// Created running: frees itself when it ends and runs one step above normal priority. Execute runs
// CheckAccountInbox, pushes the outcome and clears its control block's running flag when the session ended
// normally.
class TThread_Conect : public TThread {
  public:
    TThread_Conect(PLisEm AZEmVv, TConectContext context);

  protected:
    void Execute() override;
    void TerminatedSet() override;

  private:
    uint64_t accountId_;
    uint32_t accountGeneration_;
    TMailAccountCopy copy_;
    TConectContext context_;
};
