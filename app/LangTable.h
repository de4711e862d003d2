// The notifier's language table: 88 lines of user-interface text, from one of three built-in tables (Russian,
// Belarusian, Ukrainian) or a UTF-16LE language file, and how the lines reach the window's elements.
// Index: TLangTable, BuiltInLangTable, TLangUse, TLangApplyEntry, kLangApplyOrder, CenterText, SpaceAround,
// LangFileErrorText, SplitLangFile, FirstBadLangLine, ReadStartLanguage, TLanguageSink, TLanguage.
//
// Pure logic apart from reading files: the window supplies a TLanguageSink that puts each text into the elements
// an order entry names, shows the warning box and picks the skin engine's resource strings.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/DataModel.h"

inline constexpr int kLangLineCount = 88;
// A language file line must hold 1 to this many characters.
inline constexpr size_t kLangFileLineMax = 180;

using TLangTable = std::array<const wchar_t*, kLangLineCount>;

// 0 Russian, 1 Belarusian, 2 Ukrainian; nullptr for any other index.
const TLangTable* BuiltInLangTable(int index);

// How a line is dressed before it goes into its elements.
enum class TLangUse {
    Text,     // as it stands
    Centred,  // tab captions: CenterText to width 20
    Hint,     // button hints: one blank on each side
    Colon,    // the password dialog's label: followed by ":"
};

// One step of applying a language: line, its maximum length, and the elements it goes to. Targets are element
// names separated by blanks; "ListView_Em:1" is column 1 of that view, "caption" the message-box caption.
struct TLangApplyEntry {
    int line;
    int max;
    TLangUse use;
    const wchar_t* targets;
};

// The order in which a language reaches the window; the first line that fails stops it there.
extern const std::vector<TLangApplyEntry> kLangApplyOrder;

// k = (width - length) / 2 truncated; k >= 0 gives k + 1 blanks on each side, else the text stays.
std::wstring CenterText(const std::wstring& text, int width);
std::wstring SpaceAround(const std::wstring& text);
// The bilingual warning for a bad line n (0-based; the text counts from 1).
std::wstring LangFileErrorText(int n);

// The notice that the settings file could not be read and was kept as Posl.vkz.bad, in the built-in language
// langIndex (Russian for any other): the table has no line for it, and a language file cannot bring one.
std::wstring DamagedSettingsKeptText(uint8_t langIndex);

// A language file's bytes as lines: UTF-16LE, an optional byte-order mark, lines ended by CR LF, CR or LF
// (a break at the very end starts no further line), an odd last byte dropped.
std::vector<std::wstring> SplitLangFile(std::string_view bytes);
// Index of the first line that is empty or longer than kLangFileLineMax, or -1.
int FirstBadLangLine(const std::vector<std::wstring>& lines);

// The most of a language file that is read; a longer file is refused with the line warning.
inline constexpr size_t kLangFileReadCap = 1 << 20;

// The installer's start language "yazik.txt", looked up in the current folder.
inline constexpr const wchar_t* kStartLanguageFile = L"yazik.txt";
// The first byte of that file when it is 0, 1 or 2; nothing when the file is missing, empty or holds another.
std::optional<uint8_t> ReadStartLanguage(const std::wstring& path = kStartLanguageFile);

// What applying a language does to the window.
class TLanguageSink {
  public:
    virtual ~TLanguageSink() = default;
    // Built-in languages give the skin engine the Russian resource strings; a language file gives it none.
    virtual void SetRussianResourceStrings(bool on) = 0;
    virtual void ShowWarning(const std::wstring& text) = 0;
    virtual void ApplyText(const TLangApplyEntry& entry, const std::wstring& text) = 0;
};

// The current table (the window's Memo1) and the procedure that fills and applies it.
class TLanguage {
  public:
    // Line n of the current table; empty when the table is shorter.
    const std::wstring& LangLine(int n) const;
    // Line n, or failure (with the line warning) when it is empty or longer than max.
    bool LangLineMax(int n, int max, TLanguageSink& sink, std::wstring* text) const;
    const std::vector<std::wstring>& Lines() const { return lines_; }
    // Fills the table from settings.LangFile (a bare name lies in progDir) or the built-in table of
    // settings.LangIndex, and applies it in kLangApplyOrder. A missing file clears LangFile silently; a bad line
    // warns, clears LangFile and falls back to the built-in table.
    void Apply(TSettings& settings, const std::wstring& progDir, TLanguageSink& sink);

  private:
    std::vector<std::wstring> lines_;
};
