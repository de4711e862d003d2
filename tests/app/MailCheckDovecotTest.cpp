// The mail check against a real IMAP server, the private Dovecot of the ctest fixture: the new-letter rule, flags
// and keywords left as they were, the cost in commands counted by the server, and servers that fail
// verification never seeing a login.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "TestSupport.h"
#include "app/MailCheck.h"
#include "netlib/mime_date.h"

using netlib::NetCause;
using netlib::NetCode;

namespace {

class MailCheckDovecot : public ::testing::Test {
  protected:
    void SetUp() override {
        if (nettest::FixtureDir().empty())
            GTEST_SKIP() << "no Dovecot fixture (run through ctest)";
        ASSERT_TRUE(nettest::TrustTestCa());
        account_.Login = L"user";
        account_.Domain = L"example.test";
        account_.Parol = L"secret";
        account_.HostIMAP = L"localhost";
        account_.PortIMAP = std::stoi(nettest::FixtureValue("PORT"));
        options_.StartDelayMs = 0;
        options_.Timeouts.connectMs = 10000;
        options_.Timeouts.ioMs = 5000;
    }

    static std::string Ctl(const std::vector<std::string>& args) {
        bool ok = false;
        std::string out = nettest::RunFixtureCtl(args, &ok);
        EXPECT_TRUE(ok) << args.at(0);
        return out;
    }

    static uint32_t Save(const std::string& user, const std::string& raw) {
        std::string path = nettest::WriteFixtureFile("letter.eml", raw);
        return static_cast<uint32_t>(std::stoul(Ctl({"save", user, path})));
    }

    // uid -> flags as doveadm prints them.
    static std::map<uint32_t, std::string> Flags(const std::string& user) {
        std::map<uint32_t, std::string> flags;
        std::istringstream in(Ctl({"flags", user}));
        std::string line;
        while (std::getline(in, line)) {
            size_t f = line.find(" flags=");
            if (line.rfind("uid=", 0) == 0 && f != std::string::npos)
                flags[static_cast<uint32_t>(std::stoul(line.substr(4, f - 4)))] = line.substr(f + 7);
        }
        return flags;
    }

    // The commands of the user's last session, once the server has logged all of it (up to LOGOUT).
    static std::string SessionCommands(const std::string& user) {
        return nettest::PollFixtureCtl({"commands", user},
                                       [](const std::string& out) { return out.find("LOGOUT") != std::string::npos; });
    }

    static int CountLines(const std::string& text) {
        int n = 0;
        for (char c : text)
            n += c == '\n';
        return n;
    }

    TMailCheckResult Check() { return CheckAccountInbox(account_, options_, std::make_shared<netlib::NetAbort>()); }

    TMailAccountCopy account_;
    TMailCheckOptions options_;
};

std::string Letter(const std::string& time, const std::string& subject) {
    return "Date: Mon, 1 Jan 2024 " + time +
           " +0000\r\nFrom: =?UTF-8?B?0JDQvdC90LA=?= <anna@example.test>\r\n"
           "Subject: " +
           subject + "\r\nContent-Type: text/plain; charset=utf-8\r\n\r\nText of " + subject + "\r\n";
}

TEST_F(MailCheckDovecot, NewLettersCountsAndUntouchedFlags) {
    Ctl({"reset", "user@example.test"});
    uint32_t seen = Save("user@example.test", Letter("12:00:00", "already read"));
    Ctl({"flag", "user@example.test", std::to_string(seen), "\\Seen"});
    uint32_t ten = Save("user@example.test", Letter("10:00:00", "ten"));
    uint32_t nine = Save("user@example.test", Letter("09:00:00", "nine"));
    uint32_t eleven = Save("user@example.test", Letter("11:00:00", "eleven"));
    Ctl({"flag", "user@example.test", std::to_string(ten), "$Important"});

    options_.OtobrTextEm = true;
    TMailCheckResult r = Check();
    ASSERT_TRUE(r.Status.ok()) << r.Status.detail;
    EXPECT_EQ(r.KolEm, 3);
    ASSERT_EQ(r.Letters.size(), 2u);
    EXPECT_EQ(r.Letters[0]->DT, netlib::UtcSecondsToLocalDateTime(1704103200));  // 10:00
    EXPECT_EQ(r.Letters[0]->Subject, L"ten");
    EXPECT_EQ(r.Letters[0]->Name, L"\x410\x43d\x43d\x430");
    EXPECT_EQ(r.Letters[0]->Body, L"Text of ten");
    EXPECT_EQ(r.Letters[1]->DT, netlib::UtcSecondsToLocalDateTime(1704106800));  // 11:00
    EXPECT_EQ(r.Letters[1]->Subject, L"eleven");
    EXPECT_EQ(r.ProvEm, netlib::UtcSecondsToLocalDateTime(1704106800));

    // The letters are still unseen, the keyword set beforehand is still there, the read one is still read.
    std::map<uint32_t, std::string> flags = Flags("user@example.test");
    ASSERT_EQ(flags.size(), 4u);
    EXPECT_NE(flags[seen].find("\\Seen"), std::string::npos);
    for (uint32_t uid : {ten, nine, eleven})
        EXPECT_EQ(flags[uid].find("\\Seen"), std::string::npos) << uid << ": " << flags[uid];
    EXPECT_NE(flags[ten].find("$Important"), std::string::npos) << flags[ten];

    // What the server got after the login: the mailbox, one search, three fetches (headers, structures, texts), no
    // flag change.
    std::string commands = SessionCommands("user@example.test");
    EXPECT_NE(commands.find("SELECT \"INBOX\""), std::string::npos) << commands;
    EXPECT_NE(commands.find("BODY.PEEK"), std::string::npos) << commands;
    EXPECT_EQ(commands.find("STORE"), std::string::npos) << commands;
    EXPECT_EQ(CountLines(commands), 6) << commands;
}

TEST_F(MailCheckDovecot, CommandsDoNotGrowWithUnseenLetters) {
    options_.OtobrTextEm = true;
    std::map<int, int> commands;
    for (int count : {5, 500}) {
        SCOPED_TRACE(count);
        Ctl({"reset", "user@example.test"});
        Ctl({"bulk", "user@example.test", std::to_string(count), "1 Jan 2024"});
        TMailCheckResult r = Check();
        ASSERT_TRUE(r.Status.ok()) << r.Status.detail;
        EXPECT_EQ(r.KolEm, count);
        EXPECT_FALSE(r.Letters.empty());
        commands[count] = CountLines(SessionCommands("user@example.test"));
    }
    EXPECT_EQ(commands[5], commands[500]);
    EXPECT_EQ(commands[5], 6);  // SELECT, SEARCH, three FETCHes, LOGOUT
}

// Letters whose text a whole-message fetch of the first 256 KB would lose or double, and a letter without a
// date: the structures of the new letters in one command after the headers, the text parts in one more, the
// arrival time stands in for the date.
TEST_F(MailCheckDovecot, TextPartsOfLargeAlternativeAndUndatedLetters) {
    Ctl({"reset", "user@example.test"});
    std::string attachment;
    for (int i = 0; i < 300 * 1024 / 76; ++i)
        attachment += std::string(76, 'A') + "\r\n";
    Save("user@example.test",
         "Date: Mon, 1 Jan 2024 10:00:00 +0000\r\nFrom: Sales Team: Ann <ann@example.com>, bob@example.com;\r\n"
         "Subject: after an attachment\r\nMIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n\r\n"
         "--b\r\nContent-Type: application/octet-stream\r\nContent-Transfer-Encoding: base64\r\n"
         "Content-Disposition: attachment; filename*=utf-8''%D0%AF.bin\r\n\r\n" +
             attachment +
             "--b\r\nContent-Type: text/plain; charset=koi8-r (Russian)\r\nContent-Transfer-Encoding: quoted-printable"
             "\r\n\r\n=F0=D2=C9=D7=C5=D4 after\r\n--b--\r\n");
    Save("user@example.test",
         "Date: Mon, 1 Jan 2024 10:01:00 +0000\r\nFrom: news@example.test\r\nSubject: big style\r\n"
         "Content-Type: text/html; charset=utf-8\r\n\r\n<html><style>" +
             std::string(300 * 1024, 'x') + "</style><p>Visible</p></html>\r\n");
    Save("user@example.test",
         "Date: Mon, 1 Jan 2024 10:02:00 +0000\r\nFrom: a@example.test\r\nSubject: alternative\r\n"
         "Content-Type: multipart/alternative; boundary*0=al; boundary*1=t\r\n\r\n"
         "--alt\r\nContent-Type: text/plain\r\n\r\nPlain version\r\n"
         "--alt\r\nContent-Type: text/html\r\n\r\n<p>HTML version</p>\r\n--alt--\r\n");
    const TDateTime before = netlib::NowLocalDateTime();
    Save("user@example.test", "From: b@example.test\r\nSubject: undated\r\n\r\nNo date here\r\n");
    const TDateTime after = netlib::NowLocalDateTime();

    options_.OtobrTextEm = true;
    TMailCheckResult r = Check();
    ASSERT_TRUE(r.Status.ok()) << r.Status.detail;
    ASSERT_EQ(r.Letters.size(), 4u);
    EXPECT_EQ(r.Letters[0]->Name, L"Ann");
    EXPECT_EQ(r.Letters[0]->Body, L"\x41f\x440\x438\x432\x435\x442 after");
    EXPECT_EQ(r.Letters[1]->Body, L"Visible");
    EXPECT_EQ(r.Letters[2]->Body, L"Plain version");
    EXPECT_EQ(r.Letters[3]->Subject, L"undated");
    EXPECT_EQ(r.Letters[3]->Body, L"No date here");
    const double second = 1.0 / 86400;
    EXPECT_GE(r.Letters[3]->DT, before - second);  // INTERNALDATE has whole seconds
    EXPECT_LE(r.Letters[3]->DT, after + second);
    EXPECT_EQ(r.ProvEm, r.Letters[3]->DT);

    // SELECT, SEARCH, the header fetch, the structures, the text parts, LOGOUT; never the whole letters.
    std::string commands = Ctl({"commands", "user@example.test"});
    EXPECT_EQ(CountLines(commands), 6) << commands;
    EXPECT_NE(commands.find("BODYSTRUCTURE"), std::string::npos) << commands;
    EXPECT_NE(commands.find("BODY.PEEK[2]<0."), std::string::npos) << commands;
    EXPECT_EQ(commands.find("BODY.PEEK[]"), std::string::npos) << commands;
}

TEST_F(MailCheckDovecot, UnverifiedServersNeverGetTheLogin) {
    account_.Login = L"victim";
    const std::string before = Ctl({"logsize"});
    struct Case {
        const char* name;
        std::wstring host;
    };
    // 127.0.0.2 answers with a certificate from a CA nobody trusts; 127.0.0.1, asked without a server name, with a
    // trusted one for "other.test". Only a client that sends "localhost" by SNI gets the "localhost" certificate,
    // so the successful checks in this file also show that SNI is sent.
    for (const Case& c : {Case{"untrusted CA", L"127.0.0.2"}, Case{"other host name", L"127.0.0.1"}}) {
        SCOPED_TRACE(c.name);
        account_.HostIMAP = c.host;
        TMailCheckResult r = Check();
        EXPECT_EQ(r.Status.code, NetCode::Connection);
        EXPECT_EQ(r.Status.cause, NetCause::Certificate) << r.Status.detail;
    }
    // The trusted server by its name works, so the log below would show the user had a login been sent.
    account_.HostIMAP = L"localhost";
    ASSERT_TRUE(Check().Status.ok());
    auto refusals = [](const std::string& text) {
        std::istringstream lines(text);
        std::string line;
        int refused = 0;
        while (std::getline(lines, line))
            refused += line.find("no auth attempts") != std::string::npos &&
                       line.find("user=<>") != std::string::npos && line.find("TLS handshaking") != std::string::npos;
        return refused;
    };
    // The server logs a moment after the session: wait for the login and both refusals.
    const std::string log = nettest::PollFixtureCtl({"logfrom", before}, [&](const std::string& text) {
        return text.find("Login: user=<victim@example.test>") != std::string::npos && refusals(text) >= 2;
    });
    // Exactly one login of the user, the last one, on the trusted address; both refused handshakes before it.
    size_t login = log.find("Login: user=<victim@example.test>");
    ASSERT_NE(login, std::string::npos) << log;
    EXPECT_EQ(login, log.rfind("Login: user=<victim@example.test>")) << log;
    EXPECT_EQ(log.find("victim@example.test"), login + 13) << log;  // no failed attempt either
    EXPECT_EQ(refusals(log.substr(0, login)), 2) << log;
}

TEST_F(MailCheckDovecot, LoginFailuresAndLiteralPassword) {
    Ctl({"reset", "user@example.test"});
    account_.Parol = L"wrong";
    TMailCheckResult r = Check();
    EXPECT_EQ(r.Status.code, NetCode::Auth) << r.Status.detail;
    EXPECT_EQ(r.KolEm, 0);

    account_.Login = L"utf";
    account_.Parol = L"\x43f\x430\x440\x43e\x43b\x44c";
    r = Check();
    EXPECT_TRUE(r.Status.ok()) << r.Status.detail;
}

}  // namespace
