// The check thread: results handed over through the queue (from scripted servers and from the Dovecot fixture),
// the running flag of each check's own control block cleared only by a normal end, never another check's, the
// account copied at creation, a stop that ends a stalled check at once,
// and results that reach only the account they were checked for (not one deleted or edited meanwhile).
#include <gtest/gtest.h>

#include <memory>

#include "TestSupport.h"
#include "app/ThreadConect.h"
#include "netlib/mime_date.h"

using netlib::NetCode;
using nettest::FakeImap;
using nettest::ScriptConnection;
using nettest::ScriptServer;

namespace {

class ThreadConectTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (nettest::FixtureDir().empty())
            GTEST_SKIP() << "no test PKI (run through ctest)";
        ASSERT_TRUE(nettest::TrustTestCa());
        auto account = std::make_unique<AListEm>();
        account->Login = L"user";
        account->Domain = L"example.test";
        account->Parol = L"secret";
        account->HostIMAP = L"localhost";
        lists_.Accounts.push_back(std::move(account));
        context_.Queue = std::make_shared<TConectQueue>();
        context_.Control = std::make_shared<TConectControl>();
        context_.Announced = std::make_shared<TAnnouncedLetters>();
        context_.Options.Timeouts.connectMs =
            10000;  // an upper bound only: a loaded machine may resolve "localhost" slowly
        context_.Options.Timeouts.ioMs = 2000;
        context_.Options.StartDelayMs = 0;
    }

    std::unique_ptr<ScriptServer> Serve(const FakeImap& fake) {
        auto server = std::make_unique<ScriptServer>([fake](ScriptConnection& c) { fake.Serve(c); },
                                                     std::make_unique<netlib::TlsServerOptions>(nettest::ServerTls()));
        lists_.Accounts[0]->PortIMAP = server->Port();
        return server;
    }

    // Starts a thread the way the check starter does; the thread frees itself.
    void Start() {
        ASSERT_TRUE(context_.Control->Running());
        new TThread_Conect(lists_.Accounts[0].get(), context_);
    }

    // Waits for the running check and takes its one outcome, which must have succeeded.
    void Finish(TConectOutcome* outcome) {
        ASSERT_TRUE(context_.Control->WaitEnded(20000));
        std::vector<TConectOutcome> outcomes = context_.Queue->Drain();
        ASSERT_EQ(outcomes.size(), 1u);
        ASSERT_TRUE(outcomes[0].Status.ok()) << outcomes[0].Status.detail;
        *outcome = std::move(outcomes[0]);
    }

    // The next check of the same account, started once the previous one has ended.
    void StartAgain() {
        context_.Control = std::make_shared<TConectControl>();
        Start();
    }

    TNotifierLists lists_;
    TConectContext context_;
};

std::string Letter(const std::string& time, const std::string& subject) {
    return "Date: Mon, 1 Jan 2024 " + time + " +0000\r\nFrom: Ann <ann@example.test>\r\nSubject: " + subject +
           "\r\n\r\nbody\r\n";
}

TEST_F(ThreadConectTest, ResultsReachTheListsThroughTheQueue) {
    FakeImap fake;
    fake.messages = {{1, Letter("10:00:00", "a")}, {2, Letter("09:00:00", "b")}, {3, Letter("11:00:00", "c")}};
    auto server = Serve(fake);
    lists_.Accounts[0]->KolEm = 99;
    Start();
    // The account is the GUI's: editing it while the check runs does not reach the check.
    lists_.Accounts[0]->Login = L"edited";
    ASSERT_TRUE(context_.Control->WaitEnded(20000));
    EXPECT_FALSE(context_.Control->Running());

    std::vector<TConectOutcome> outcomes = context_.Queue->Drain();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_TRUE(outcomes[0].Status.ok()) << outcomes[0].Status.detail;
    EXPECT_EQ(lists_.Accounts[0]->KolEm, 99);  // nothing written behind the GUI's back
    ApplyConectOutcome(outcomes[0], lists_, context_.Announced.get());
    EXPECT_EQ(lists_.Accounts[0]->KolEm, 3);
    ASSERT_EQ(lists_.Letters.size(), 2u);
    ASSERT_EQ(lists_.NewLetters.size(), 2u);
    EXPECT_EQ(lists_.NewLetters[0], lists_.Letters[0].get());
    EXPECT_EQ(lists_.Letters[0]->Subject, L"a");
    EXPECT_EQ(lists_.Letters[1]->Subject, L"c");
    EXPECT_EQ(lists_.Letters[1]->Login, L"user");
    EXPECT_EQ(lists_.Accounts[0]->ProvEm, lists_.Letters[1]->DT);
    EXPECT_TRUE(context_.Queue->Drain().empty());
}

// The whole way against a real server (the private Dovecot of the ctest fixture): the thread checks, the outcome
// goes through the queue, and the lists and the account get the count, the new letters and the newest date. A
// second thread started from the updated account finds the same letters but announces none.
TEST_F(ThreadConectTest, DovecotCheckReachesTheListsThroughTheQueue) {
    auto ctl = [](const std::vector<std::string>& args) {
        bool ok = false;
        std::string out = nettest::RunFixtureCtl(args, &ok);
        EXPECT_TRUE(ok) << args.at(0);
        return out;
    };
    auto save = [&](const std::string& time, const std::string& subject) {
        const std::string raw = "Date: Mon, 1 Jan 2024 " + time +
                                " +0000\r\nFrom: =?UTF-8?B?0JDQvdC90LA=?= <anna@example.test>\r\nSubject: " + subject +
                                "\r\nContent-Type: text/plain; charset=utf-8\r\n\r\nText of " + subject + "\r\n";
        return ctl({"save", "user@example.test", nettest::WriteFixtureFile("letter.eml", raw)});
    };
    ctl({"reset", "user@example.test"});
    const std::string read = save("12:00:00", "already read");
    ctl({"flag", "user@example.test", read.substr(0, read.find_first_of("\r\n")), "\\Seen"});
    save("10:00:00", "ten");
    save("09:00:00", "nine");
    save("11:00:00", "eleven");

    lists_.Accounts[0]->PortIMAP = std::stoi(nettest::FixtureValue("PORT"));
    context_.Options.Timeouts.ioMs = 5000;
    context_.Options.OtobrTextEm = true;
    Start();
    ASSERT_TRUE(context_.Control->WaitEnded(30000));
    EXPECT_FALSE(context_.Control->Running());
    std::vector<TConectOutcome> outcomes = context_.Queue->Drain();
    ASSERT_EQ(outcomes.size(), 1u);
    ASSERT_TRUE(outcomes[0].Status.ok()) << outcomes[0].Status.detail;
    ApplyConectOutcome(outcomes[0], lists_, context_.Announced.get());

    const AListEm& account = *lists_.Accounts[0];
    EXPECT_EQ(account.KolEm, 3);
    EXPECT_EQ(account.ProvEm, netlib::UtcSecondsToLocalDateTime(1704106800));  // 11:00
    ASSERT_EQ(lists_.Letters.size(), 2u);
    ASSERT_EQ(lists_.NewLetters.size(), 2u);
    EXPECT_EQ(lists_.NewLetters[0], lists_.Letters[0].get());
    EXPECT_EQ(lists_.NewLetters[1], lists_.Letters[1].get());
    EXPECT_EQ(lists_.Letters[0]->Subject, L"ten");
    EXPECT_EQ(lists_.Letters[0]->DT, netlib::UtcSecondsToLocalDateTime(1704103200));
    EXPECT_EQ(lists_.Letters[0]->Name, L"\x410\x43d\x43d\x430");
    EXPECT_EQ(lists_.Letters[0]->Body, L"Text of ten");
    EXPECT_EQ(lists_.Letters[0]->Login, L"user");
    EXPECT_EQ(lists_.Letters[1]->Subject, L"eleven");

    // The next check starts from what the GUI applied.
    lists_.NewLetters.clear();
    context_.Control = std::make_shared<TConectControl>();
    Start();
    ASSERT_TRUE(context_.Control->WaitEnded(30000));
    EXPECT_FALSE(context_.Control->Running());
    outcomes = context_.Queue->Drain();
    ASSERT_EQ(outcomes.size(), 1u);
    ASSERT_TRUE(outcomes[0].Status.ok()) << outcomes[0].Status.detail;
    ApplyConectOutcome(outcomes[0], lists_, context_.Announced.get());
    EXPECT_EQ(account.KolEm, 3);
    EXPECT_EQ(account.ProvEm, netlib::UtcSecondsToLocalDateTime(1704106800));
    EXPECT_EQ(lists_.Letters.size(), 2u);
    EXPECT_TRUE(lists_.NewLetters.empty());
}

TEST_F(ThreadConectTest, FailedCheckLeavesConectRunForTheWatchdog) {
    FakeImap fake;
    fake.on["LOGIN"] = [](const std::string& tag, const std::string&) { return tag + " NO wrong password\r\n"; };
    auto server = Serve(fake);
    Start();
    ASSERT_TRUE(context_.Control->WaitEnded(20000));
    EXPECT_TRUE(context_.Control->Running());
    std::vector<TConectOutcome> outcomes = context_.Queue->Drain();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].Status.code, NetCode::Auth);
    EXPECT_EQ(outcomes[0].KolEm, 0);
    // The account learns why; a cancelled check leaves that, the next successful one clears it.
    ApplyConectOutcome(outcomes[0], lists_, context_.Announced.get());
    EXPECT_EQ(lists_.Accounts[0]->LastFailure, TCheckFailure::Login);
    TConectOutcome cancelled;
    cancelled.AccountId = lists_.Accounts[0]->Id;
    cancelled.Status = netlib::NetStatus::Fail(NetCode::Cancelled, netlib::NetCause::None, "aborted");
    ApplyConectOutcome(cancelled, lists_, nullptr);
    EXPECT_EQ(lists_.Accounts[0]->LastFailure, TCheckFailure::Login);
    TConectOutcome success;
    success.AccountId = lists_.Accounts[0]->Id;
    ApplyConectOutcome(success, lists_, nullptr);
    EXPECT_EQ(lists_.Accounts[0]->LastFailure, TCheckFailure::None);
}

// A check stopped because it took too long reads as a server that does not answer.
TEST_F(ThreadConectTest, StopForTimeOutReadsAsNoAnswer) {
    FakeImap fake;
    fake.greeting.clear();
    auto server = Serve(fake);
    context_.Options.Timeouts.ioMs = 120000;
    Start();
    EXPECT_FALSE(context_.Control->WaitEnded(300));
    context_.Control->StopTimedOut();
    ASSERT_TRUE(context_.Control->WaitEnded(5000));
    std::vector<TConectOutcome> outcomes = context_.Queue->Drain();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].Status.cause, netlib::NetCause::Timeout);
    ApplyConectOutcome(outcomes[0], lists_, nullptr);
    EXPECT_EQ(lists_.Accounts[0]->LastFailure, TCheckFailure::NoAnswer);
}

// A check whose thread outlives its stop (the wait for it is bounded) and ends normally later, while the next check
// runs: it clears its own flag only; the next check still counts as running.
TEST_F(ThreadConectTest, ALateThreadTouchesOnlyItsOwnCheck) {
    TKernelHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    FakeImap slow;
    HANDLE releaseHandle = release.Get();
    slow.on["LOGIN"] = [releaseHandle](const std::string& tag, const std::string&) {
        WaitForSingleObject(releaseHandle, 20000);
        return tag + " OK logged in\r\n";
    };
    auto slowServer = Serve(slow);
    Start();
    const std::shared_ptr<TConectControl> late = context_.Control;

    FakeImap silent;
    silent.greeting.clear();
    ScriptServer silentServer([silent](ScriptConnection& c) { silent.Serve(c); },
                              std::make_unique<netlib::TlsServerOptions>(nettest::ServerTls()));
    lists_.Accounts[0]->PortIMAP = silentServer.Port();
    context_.Options.Timeouts.ioMs = 60000;
    StartAgain();
    const std::shared_ptr<TConectControl> next = context_.Control;

    SetEvent(releaseHandle);
    ASSERT_TRUE(late->WaitEnded(20000));
    EXPECT_FALSE(late->Running());
    EXPECT_TRUE(next->Running());
    EXPECT_FALSE(next->Ended());
    next->Stop();
    ASSERT_TRUE(next->WaitEnded(5000));
    EXPECT_TRUE(next->Running());  // a stopped check did not end normally
    std::vector<TConectOutcome> outcomes = context_.Queue->Drain();
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_TRUE(outcomes[0].Status.ok()) << outcomes[0].Status.detail;
    EXPECT_EQ(outcomes[1].Status.code, NetCode::Cancelled);
}

TEST_F(ThreadConectTest, StopEndsAStalledCheckAtOnce) {
    FakeImap fake;
    fake.greeting.clear();  // a server that never answers
    auto server = Serve(fake);
    context_.Options.Timeouts.ioMs = 120000;
    Start();
    EXPECT_FALSE(context_.Control->WaitEnded(500));
    context_.Control->Stop();
    ASSERT_TRUE(context_.Control->WaitEnded(5000));
    std::vector<TConectOutcome> outcomes = context_.Queue->Drain();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].Status.code, NetCode::Cancelled);
}

TEST_F(ThreadConectTest, OutcomeOfADeletedAccountIsDropped) {
    TConectOutcome outcome;
    outcome.AccountId = lists_.Accounts[0]->Id + 1000;
    outcome.KolEm = 5;
    outcome.Letters.push_back(std::make_unique<AListPism>());
    ApplyConectOutcome(outcome, lists_, nullptr);
    EXPECT_TRUE(lists_.Letters.empty());
    EXPECT_EQ(lists_.Accounts[0]->KolEm, 0);
}

// The account is deleted while its check runs and a new one with the same address fields takes its place, even its
// memory (as the heap may well hand out): the old check's count, date and letters must not reach the new account,
// and the new account's own next check announces the letters.
TEST_F(ThreadConectTest, DeleteThenAddDuringACheckDropsTheOldResult) {
    FakeImap fake;
    fake.messages = {{1, Letter("10:00:00", "a")}, {2, Letter("11:00:00", "b")}};
    auto server = Serve(fake);
    Start();
    AListEm* storage = lists_.Accounts[0].get();
    const AListEm fields = *storage;
    std::destroy_at(storage);
    std::construct_at(storage);
    storage->Login = fields.Login;
    storage->Domain = fields.Domain;
    storage->Parol = fields.Parol;
    storage->HostIMAP = fields.HostIMAP;
    storage->PortIMAP = fields.PortIMAP;
    ASSERT_NE(storage->Id, fields.Id);
    TConectOutcome stale;
    ASSERT_NO_FATAL_FAILURE(Finish(&stale));
    ASSERT_EQ(stale.Letters.size(), 2u);  // the check itself found the letters
    ApplyConectOutcome(stale, lists_, context_.Announced.get());
    EXPECT_EQ(storage->KolEm, 0);
    EXPECT_EQ(storage->ProvEm, 0);
    EXPECT_TRUE(lists_.Letters.empty());
    EXPECT_TRUE(lists_.NewLetters.empty());

    StartAgain();
    TConectOutcome next;
    ASSERT_NO_FATAL_FAILURE(Finish(&next));
    ApplyConectOutcome(next, lists_, context_.Announced.get());
    EXPECT_EQ(storage->KolEm, 2);
    ASSERT_EQ(lists_.Letters.size(), 2u);
    EXPECT_EQ(lists_.Letters[1]->Subject, L"b");
    EXPECT_EQ(storage->ProvEm, lists_.Letters[1]->DT);
}

// The account is edited while its check runs: the result describes the account as it was and is dropped; the check
// after the edit announces the letters.
TEST_F(ThreadConectTest, EditDuringACheckDropsTheOldResult) {
    FakeImap fake;
    fake.messages = {{1, Letter("10:00:00", "a")}};
    auto server = Serve(fake);
    Start();
    lists_.Accounts[0]->Parol = L"secret";  // the editor's Apply, even with the same texts
    lists_.Accounts[0]->ProvEm = 0;
    lists_.Accounts[0]->KolEm = 0;
    MarkAccountEdited(*lists_.Accounts[0]);
    TConectOutcome stale;
    ASSERT_NO_FATAL_FAILURE(Finish(&stale));
    ASSERT_EQ(stale.Letters.size(), 1u);
    ApplyConectOutcome(stale, lists_, context_.Announced.get());
    EXPECT_EQ(lists_.Accounts[0]->KolEm, 0);
    EXPECT_EQ(lists_.Accounts[0]->ProvEm, 0);
    EXPECT_TRUE(lists_.Letters.empty());

    StartAgain();
    TConectOutcome next;
    ASSERT_NO_FATAL_FAILURE(Finish(&next));
    ApplyConectOutcome(next, lists_, context_.Announced.get());
    EXPECT_EQ(lists_.Accounts[0]->KolEm, 1);
    ASSERT_EQ(lists_.Letters.size(), 1u);
    EXPECT_EQ(lists_.Letters[0]->Subject, L"a");
}

}  // namespace
