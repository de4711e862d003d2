// Text side of the mini-HTML renderer, free of windows: colour names, entities, the preprocessing of a message
// and the reading of tags and attributes. Index: HtmlColor, HexColor, ReplaceFirstNoCase, THtmlPrefixMode,
// PreprocessHtml, HtmlTagName, HtmlAttribute, HtmlLeadingNumber, HtmlPlainText.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Colours as the class library writes them: 0x00BBGGRR, system colour n = 0xFF000000 + n.
using THtmlColor = std::uint32_t;

// "#RRGGBB" (case-insensitive) → 0xBBGGRR; anything unreadable → 0 (black).
THtmlColor HexColor(std::wstring_view s);
// "#RRGGBB" or a colour name of the table ("clred", "clbtnface", ...; case-insensitive); unknown → 0.
THtmlColor HtmlColor(std::wstring_view s);
// Replaces the first case-insensitive occurrence of what; false when there is none.
bool ReplaceFirstNoCase(std::wstring& s, std::wstring_view what, std::wstring_view with);

// How "&" is drawn: as a prefix that underlines the next character, or as itself (the text holds " & ").
enum class THtmlPrefixMode { Prefix, NoPrefix };

// Picks the prefix mode from the raw text, replaces the entities, drops "<#...>" brackets and turns carriage
// returns into <BR> (line feeds are dropped). With NoPrefix "&amp;" becomes one "&"; with Prefix "&&".
std::wstring PreprocessHtml(std::wstring_view text, THtmlPrefixMode& mode);

// The upper-cased name of a tag given from "<" to ">" inclusive ("</p>" → "P"), letters and digits only.
std::wstring HtmlTagName(std::wstring_view tag, bool& closing);
// The value of attribute name in the tag: the text between the first and second double quote after the name
// (the name matched case-insensitively as a whole word); empty when missing or unquoted.
std::wstring HtmlAttribute(std::wstring_view tag, std::wstring_view name);
// The text after "name=" up to a blank or ">", quotes removed (unquoted values allowed); empty when missing.
std::wstring HtmlLooseAttribute(std::wstring_view tag, std::wstring_view name);
// The value of the leading digits (an optional sign first); 0 when none.
int HtmlLeadingNumber(std::wstring_view s);

// What a message says without its markup, for the window text that testers and screen readers read: tags dropped,
// <BR> as a line break, the entities the renderer knows replaced, blanks at the end trimmed.
std::wstring HtmlPlainText(std::wstring_view html);
