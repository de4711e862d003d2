// The check thread: one CheckAccountInbox, its outcome handed over through a locked queue.
#include "app/ThreadConect.h"

#include <algorithm>

#include "app/CheckFailure.h"
#include "base/Report.h"

void TConectQueue::Push(TConectOutcome outcome) {
    std::lock_guard<std::mutex> lock(mutex_);
    outcomes_.push_back(std::move(outcome));
}

std::vector<TConectOutcome> TConectQueue::Drain() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<TConectOutcome> out;
    out.reserve(outcomes_.size());
    for (TConectOutcome& o : outcomes_)
        out.push_back(std::move(o));
    outcomes_.clear();
    return out;
}

void ApplyConectOutcome(TConectOutcome& outcome, TNotifierLists& lists, TAnnouncedLetters* announced) {
    auto it = std::find_if(lists.Accounts.begin(), lists.Accounts.end(),
                           [&](const std::unique_ptr<AListEm>& a) { return a->Id == outcome.AccountId; });
    if (it == lists.Accounts.end() || (*it)->Generation != outcome.AccountGeneration) {
        // The check counted its new letters as announced; nobody will see them now.
        if (announced && !outcome.Letters.empty())
            announced->Forget(outcome.AnnouncedKey);
        outcome.Letters.clear();
        return;
    }
    (*it)->KolEm = outcome.KolEm;
    (*it)->ProvEm = outcome.ProvEm;
    if (outcome.Status.code != netlib::NetCode::Cancelled)
        (*it)->LastFailure = CheckFailureOf(outcome.Status);
    for (std::unique_ptr<AListPism>& letter : outcome.Letters) {
        lists.NewLetters.push_back(letter.get());
        lists.Letters.push_back(std::move(letter));
    }
    outcome.Letters.clear();
}

TConectControl::TConectControl()
    : abort_(std::make_shared<netlib::NetAbort>()), endedEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

TConectControl::~TConectControl() = default;

bool TConectControl::WaitEnded(unsigned ms) const {
    if (ended_.load())
        return true;
    return endedEvent_ && WaitForSingleObject(endedEvent_.Get(), ms) == WAIT_OBJECT_0;
}

void TConectControl::MarkEnded() {
    ended_.store(true);
    if (endedEvent_)
        SetEvent(endedEvent_.Get());
}

TThread_Conect::TThread_Conect(PLisEm AZEmVv, TConectContext context)
    : TThread(false),
      accountId_(AZEmVv->Id),
      accountGeneration_(AZEmVv->Generation),
      copy_(CopyAccount(*AZEmVv)),
      context_(std::move(context)) {
    if (!context_.Control)
        context_.Control = std::make_shared<TConectControl>();
    if (!context_.Queue)
        context_.Queue = std::make_shared<TConectQueue>();
    context_.Options.Announced = context_.Announced.get();
    SetFreeOnTerminate(true);
    SetPriority(tpHigher);
    Start();
}

void TThread_Conect::Execute() {
    TConectOutcome outcome;
    outcome.AccountId = accountId_;
    outcome.AccountGeneration = accountGeneration_;
    outcome.AnnouncedKey = TAnnouncedLetters::KeyOf(copy_);
    outcome.ProvEm = copy_.ProvEm;
    try {
        TMailCheckResult r = CheckAccountInbox(copy_, context_.Options, context_.Control->Abort());
        outcome.KolEm = r.KolEm;
        outcome.ProvEm = r.ProvEm;
        outcome.Letters = std::move(r.Letters);
        outcome.Status = std::move(r.Status);
    } catch (...) {
        ReportCaught("TThread_Conect::Execute");
        outcome.Status = netlib::NetStatus::Fail(netlib::NetCode::Connection, netlib::NetCause::None,
                                                 "unexpected failure in the check");
    }
    if (outcome.Status.code == netlib::NetCode::Cancelled && context_.Control->TimedOut())
        outcome.Status = netlib::NetStatus::Fail(netlib::NetCode::Connection, netlib::NetCause::Timeout,
                                                 "no answer within the time allowed for a check");
    const bool normal = outcome.Status.ok();
    try {
        context_.Queue->Push(std::move(outcome));
    } catch (...) {
        ReportCaught("TThread_Conect::Execute: queueing the outcome");
    }
    // Cleared only after the outcome is queued: whoever sees the flag clear finds the results waiting.
    if (normal)
        context_.Control->MarkNormalEnd();
    context_.Control->MarkEnded();
}

void TThread_Conect::TerminatedSet() {
    context_.Control->Stop();
}
