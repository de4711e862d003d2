// Text side of the mini-HTML renderer.
#include "alert/HtmlText.h"

#include <cwctype>

namespace {

wchar_t Up(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
}

std::size_t FindNoCase(std::wstring_view s, std::wstring_view what, std::size_t from = 0) {
    if (what.empty() || s.size() < what.size())
        return std::wstring_view::npos;
    for (std::size_t i = from; i + what.size() <= s.size(); ++i) {
        std::size_t k = 0;
        while (k < what.size() && Up(s[i + k]) == Up(what[k]))
            ++k;
        if (k == what.size())
            return i;
    }
    return std::wstring_view::npos;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    c = Up(c);
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

bool IsNameChar(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'-';
}

}  // namespace

THtmlColor HexColor(std::wstring_view s) {
    if (s.size() < 7 || s[0] != L'#')
        return 0;
    int v[6];
    for (int i = 0; i < 6; ++i)
        if ((v[i] = HexDigit(s[1 + i])) < 0)
            return 0;
    const unsigned r = v[0] * 16 + v[1], g = v[2] * 16 + v[3], b = v[4] * 16 + v[5];
    return r | (g << 8) | (b << 16);
}

THtmlColor HtmlColor(std::wstring_view s) {
    if (!s.empty() && s[0] == L'#')
        return HexColor(s);
    static const struct {
        const wchar_t* name;
        THtmlColor value;
    } kNames[] = {{L"clred", 0x0000FF},
                  {L"clblack", 0x000000},
                  {L"clblue", 0xFF0000},
                  {L"clgreen", 0x008000},
                  {L"claqua", 0xFFFF00},
                  {L"clyellow", 0x00FFFF},
                  {L"clfuchsia", 0xFF00FF},
                  {L"clwhite", 0xFFFFFF},
                  {L"cllime", 0x00FF00},
                  {L"clsilver", 0xC0C0C0},
                  {L"clgray", 0x808080},
                  {L"clolive", 0x008080},
                  {L"clnavy", 0x800000},
                  {L"clpurple", 0x800080},
                  {L"clteal", 0x808000},
                  {L"clmaroon", 0x000080},
                  {L"clbackground", 0xFF000001},
                  {L"clactivecaption", 0xFF000002},
                  {L"clinactivecaption", 0xFF000003},
                  {L"clmenu", 0xFF000004},
                  {L"clwindow", 0xFF000005},
                  {L"clwindowframe", 0xFF000006},
                  {L"clmenutext", 0xFF000007},
                  {L"clwindowtext", 0xFF000008},
                  {L"clcaptiontext", 0xFF000009},
                  {L"clactiveborder", 0xFF00000A},
                  {L"clinactiveborder", 0xFF00000B},
                  {L"clappworkspace", 0xFF00000C},
                  {L"clhighlight", 0xFF00000D},
                  {L"clhighlighttext", 0xFF00000E},
                  {L"clbtnface", 0xFF00000F},
                  {L"clbtnshadow", 0xFF000010},
                  {L"clgraytext", 0xFF000011},
                  {L"clbtntext", 0xFF000012},
                  {L"clinactivecaptiontext", 0xFF000013},
                  {L"clbtnhighlight", 0xFF000014},
                  {L"cl3ddkshadow", 0xFF000015},
                  {L"cl3dlight", 0xFF000016},
                  {L"clinfotext", 0xFF000017},
                  {L"clinfobk", 0xFF000018}};
    std::wstring lower(s);
    for (auto& c : lower)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c + 32);
    for (const auto& n : kNames)
        if (lower == n.name)
            return n.value;
    return 0;
}

bool ReplaceFirstNoCase(std::wstring& s, std::wstring_view what, std::wstring_view with) {
    const std::size_t p = FindNoCase(s, what);
    if (p == std::wstring_view::npos)
        return false;
    s.replace(p, what.size(), with);
    return true;
}

std::wstring PreprocessHtml(std::wstring_view text, THtmlPrefixMode& mode) {
    std::wstring s(text);
    mode = s.find(L" & ") != std::wstring::npos ? THtmlPrefixMode::NoPrefix : THtmlPrefixMode::Prefix;
    if (s.find(L'&') != std::wstring::npos) {
        // "&amp;" must show one ampersand: doubled where "&" is a prefix marker, single where it is drawn as is.
        const wchar_t* amp = mode == THtmlPrefixMode::Prefix ? L"&&" : L"&";
        static const struct {
            const wchar_t* entity;
            const wchar_t* text;
        } kEntities[] = {{L"&quot;", L"\""},      {L"&sect;", L"\u00A7"}, {L"&permil;", L"\u2030"},
                         {L"&reg;", L"\u00AE"},   {L"&copy;", L"\u00A9"}, {L"&para;", L"\u00B6"},
                         {L"&trade;", L"\u2122"}, {L"&euro;", L"\u20AC"}};
        // Each replacement shortens or keeps the entity's place free of ';', so the loops end.
        while (ReplaceFirstNoCase(s, L"&amp;", amp)) {
        }
        for (const auto& e : kEntities)
            while (ReplaceFirstNoCase(s, e.entity, e.text)) {
            }
    }
    // "<#...>": the brackets go, the text between stays.
    for (std::size_t p = s.find(L"<#"); p != std::wstring::npos; p = s.find(L"<#", p)) {
        s.erase(p, 1);
        const std::size_t close = s.find(L'>', p);
        if (close != std::wstring::npos)
            s.erase(close, 1);
    }
    std::wstring out;
    out.reserve(s.size());
    for (wchar_t c : s) {
        if (c == L'\r')
            out += L"<BR>";
        else if (c != L'\n')
            out += c;
    }
    return out;
}

std::wstring HtmlTagName(std::wstring_view tag, bool& closing) {
    std::size_t p = 1;
    closing = tag.size() > 1 && tag[1] == L'/';
    if (closing)
        ++p;
    std::wstring name;
    while (p < tag.size() && IsNameChar(tag[p]) && tag[p] != L'-')
        name += Up(tag[p++]);
    return name;
}

namespace {

// Position just after the attribute name (whole word), npos when absent.
std::size_t AfterName(std::wstring_view tag, std::wstring_view name) {
    for (std::size_t p = FindNoCase(tag, name); p != std::wstring_view::npos; p = FindNoCase(tag, name, p + 1)) {
        const bool startOk = p == 0 || !IsNameChar(tag[p - 1]);
        const std::size_t end = p + name.size();
        const bool endOk = end >= tag.size() || !IsNameChar(tag[end]);
        if (startOk && endOk)
            return end;
    }
    return std::wstring_view::npos;
}

}  // namespace

std::wstring HtmlAttribute(std::wstring_view tag, std::wstring_view name) {
    std::size_t p = AfterName(tag, name);
    if (p == std::wstring_view::npos)
        return {};
    // Only "=" and blanks may stand between the name and the opening quote.
    while (p < tag.size() && (tag[p] == L' ' || tag[p] == L'='))
        ++p;
    if (p >= tag.size() || tag[p] != L'"')
        return {};
    const std::size_t close = tag.find(L'"', p + 1);
    if (close == std::wstring_view::npos)
        return {};
    return std::wstring(tag.substr(p + 1, close - p - 1));
}

std::wstring HtmlLooseAttribute(std::wstring_view tag, std::wstring_view name) {
    std::size_t p = AfterName(tag, name);
    if (p == std::wstring_view::npos)
        return {};
    while (p < tag.size() && tag[p] == L' ')
        ++p;
    if (p >= tag.size() || tag[p] != L'=')
        return {};
    ++p;
    while (p < tag.size() && tag[p] == L' ')
        ++p;
    if (p < tag.size() && tag[p] == L'"') {
        const std::size_t close = tag.find(L'"', p + 1);
        return std::wstring(tag.substr(p + 1, (close == std::wstring_view::npos ? tag.size() : close) - p - 1));
    }
    std::wstring v;
    while (p < tag.size() && tag[p] != L' ' && tag[p] != L'>')
        v += tag[p++];
    return v;
}

int HtmlLeadingNumber(std::wstring_view s) {
    std::size_t p = 0;
    while (p < s.size() && s[p] == L' ')
        ++p;
    bool neg = false;
    if (p < s.size() && (s[p] == L'-' || s[p] == L'+'))
        neg = s[p++] == L'-';
    long long v = 0;
    while (p < s.size() && s[p] >= L'0' && s[p] <= L'9' && v < 1000000)
        v = v * 10 + (s[p++] - L'0');
    return static_cast<int>(neg ? -v : v);
}

std::wstring HtmlPlainText(std::wstring_view html) {
    std::wstring text;
    text.reserve(html.size());
    for (std::size_t p = 0; p < html.size();) {
        if (html[p] != L'<') {
            text += html[p++];
            continue;
        }
        const std::size_t close = html.find(L'>', p);
        if (close == std::wstring_view::npos)
            break;  // an unclosed tag is not drawn either
        bool closing = false;
        if (HtmlTagName(html.substr(p, close - p + 1), closing) == L"BR")
            text += L"\r\n";
        p = close + 1;
    }
    static const struct {
        const wchar_t* entity;
        const wchar_t* text;
    } kEntities[] = {{L"&lt;", L"<"},        {L"&gt;", L">"},          {L"&nbsp;", L" "},      {L"&quot;", L"\""},
                     {L"&sect;", L"\u00A7"}, {L"&permil;", L"\u2030"}, {L"&reg;", L"\u00AE"},  {L"&copy;", L"\u00A9"},
                     {L"&para;", L"\u00B6"}, {L"&trade;", L"\u2122"},  {L"&euro;", L"\u20AC"}, {L"&amp;", L"&"}};
    std::wstring out;
    out.reserve(text.size());
    // One pass from the left, so that "&amp;lt;" stays "&lt;" as the letter wrote it.
    for (std::size_t p = 0; p < text.size();) {
        bool replaced = false;
        if (text[p] == L'&') {
            for (const auto& e : kEntities) {
                const std::wstring_view entity(e.entity);
                if (FindNoCase(std::wstring_view(text).substr(p, entity.size()), entity) == 0) {
                    out += e.text;
                    p += entity.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced)
            out += text[p++];
    }
    while (!out.empty() && (out.back() == L' ' || out.back() == L'\r' || out.back() == L'\n'))
        out.pop_back();
    return out;
}
