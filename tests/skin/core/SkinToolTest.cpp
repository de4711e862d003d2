// skin_tool as a program: info prints a skin as JSON, pack and unpack convert between an ini folder and a block,
// and a skin the engine refuses ends with a non-zero exit and the loader's error.
#include <gtest/gtest.h>

#include "base/Files.h"
#include "tests/TestFiles.h"
#include "tests/TestProcess.h"
#include "tests/skin/core/SkinDataFixtures.h"

namespace {

using namespace skin_fixture;

struct ToolResult {
    DWORD code;
    std::string out, err;
};

ToolResult RunTool(const trelm_test::TTempDir& dir, const std::wstring& args) {
    const std::wstring exe = ProgramFolder() + L"skin_tool.exe";
    std::wstring command = L"\"" + exe + L"\" " + args;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out =
        CreateFileW(dir.File(L"out.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    HANDLE err =
        CreateFileW(dir.File(L"err.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = err;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    const DWORD code = trelm_test::RunProgram(exe, command, 60000, &si).ExitCode;
    CloseHandle(out);
    CloseHandle(err);
    auto text = [&](const wchar_t* name) {
        trelm_test::Bytes b = trelm_test::ReadFileBytes(dir.File(name));
        return std::string(b.begin(), b.end());
    };
    return {code, text(L"out.txt"), text(L"err.txt")};
}

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

TEST(SkinTool, PackInfoAndUnpackGoThroughTheEngine) {
    trelm_test::TTempDir work, skin;
    WriteSkinFolder(skin);
    ToolResult info = RunTool(work, L"info " + Quoted(skin.Path()));
    ASSERT_EQ(info.code, 0u) << info.err;
    EXPECT_NE(info.out.find("\"name\": \"Fixture Skin\""), std::string::npos);
    EXPECT_NE(info.out.find("\"format\": \"ini\""), std::string::npos);
    EXPECT_NE(info.out.find("{\"name\": \"frame.bmp\", \"width\": 40, \"height\": 30}"), std::string::npos);
    EXPECT_NE(info.out.find("{\"name\": \"listbox\", \"kind\": \"listbox\""), std::string::npos);
    EXPECT_NE(info.out.find("\"ClRect\": [3,4,30,20]"), std::string::npos);

    ASSERT_EQ(RunTool(work, L"pack " + Quoted(skin.Path()) + L" " + Quoted(work.File(L"s.skn"))).code, 0u);
    trelm_test::Bytes block = trelm_test::ReadFileBytes(work.File(L"s.skn"));
    ASSERT_GT(block.size(), 10u);
    EXPECT_EQ(block[0], 3);
    EXPECT_EQ(block[8], 0x78);
    EXPECT_EQ(block[9], 0xDA);
    ToolResult packedInfo = RunTool(work, L"info " + Quoted(work.File(L"s.skn")));
    ASSERT_EQ(packedInfo.code, 0u) << packedInfo.err;
    EXPECT_NE(packedInfo.out.find("\"format\": \"compressed\""), std::string::npos);
    EXPECT_NE(packedInfo.out.find("\"version\": 3"), std::string::npos);

    ASSERT_EQ(RunTool(work, L"unpack " + Quoted(work.File(L"s.skn")) + L" " + Quoted(work.File(L"out"))).code, 0u);
    ToolResult unpacked = RunTool(work, L"info " + Quoted(work.File(L"out")));
    ASSERT_EQ(unpacked.code, 0u) << unpacked.err;
    // Everything after the format lines agrees.
    auto tail = [](const std::string& s) { return s.substr(s.find("\"name\"")); };
    EXPECT_EQ(tail(unpacked.out), tail(info.out));
}

TEST(SkinTool, ARefusedSkinExitsNonZeroWithTheLoadersError) {
    trelm_test::TTempDir work;
    std::string v4 = BuildSkinContent(FixtureContent());
    v4[0] = 4;
    WriteText(work.File(L"v4.skn"), BlockOf(v4));
    std::string cut = BlockOf(BuildSkinContent(FixtureContent()));
    WriteText(work.File(L"cut.skn"), cut.substr(0, cut.size() / 2));
    trelm_test::TTempDir notSkin;
    WriteText(notSkin.File(L"skin.ini"), "[VERSION]\r\nver=1\r\n");
    struct Case {
        std::wstring target;
        const char* mentions;
    } cases[] = {
        {work.File(L"v4.skn"), "newer version"},
        {work.File(L"cut.skn"), "past the end"},
        {TRELM_SKIN_FIXTURES L"/preset_dictionary.skn", "preset dictionary"},
        {notSkin.Path(), "is not a skin"},
        {work.File(L"missing.skn"), "missing.skn"},
    };
    for (const auto& c : cases) {
        ToolResult r = RunTool(work, L"info " + Quoted(c.target));
        EXPECT_EQ(r.code, 2u) << c.mentions;
        EXPECT_NE(r.err.find(c.mentions), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_EQ(RunTool(work, L"frobnicate").code, 1u);
}

}  // namespace
