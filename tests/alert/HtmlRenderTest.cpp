// The mini-HTML renderer on a memory canvas: every expected width is measured with DrawText at run time.
#include <gtest/gtest.h>

#include <functional>

#include "RenderTestUtil.h"
#include "alert/HtmlPicture.h"
#include "alert/HtmlRender.h"

namespace {

constexpr TRect kArea{0, 0, 400, 300};

THtmlResult Lay(RenderCanvas& rc, const std::wstring& text, TRect r = kArea) {
    THtmlParams p;
    p.MeasureOnly = true;
    THtmlResult res;
    DrawHtml(rc.Canvas(), text, r, p, res);
    return res;
}

THtmlResult Hit(RenderCanvas& rc, const std::wstring& text, int x, int y, TRect r = kArea) {
    THtmlParams p;
    p.HitOnly = true;
    p.HitX = x;
    p.HitY = y;
    THtmlResult res;
    DrawHtml(rc.Canvas(), text, r, p, res);
    return res;
}

int PointsToHeight(RenderCanvas& rc, int pt) {
    return -MulDiv(pt, GetDeviceCaps(rc.Canvas()->Handle(), LOGPIXELSY), 72);
}

// Measure cases: the text's size against sizes measured with DrawText.
struct SizeCase {
    const char* name;
    std::wstring text;
    std::function<int(RenderCanvas&)> width;   // expected XSize
    std::function<int(RenderCanvas&)> height;  // expected YSize
    std::wstring plain;                        // expected plain text (empty: not checked)
};

class HtmlRenderSize : public ::testing::TestWithParam<SizeCase> {};

int Gh(RenderCanvas& rc) {
    return rc.Height(L"gh");
}

const SizeCase kSizeCases[] = {
    {"empty", L"", [](RenderCanvas&) { return 0; }, Gh, L""},
    {"br_tag", L"ab<br>c", [](RenderCanvas& rc) { return rc.Width(L"ab") + 2; },
     [](RenderCanvas& rc) { return 2 * Gh(rc); }, L"ab\rc"},
    {"crlf", L"ab\r\nc", [](RenderCanvas& rc) { return rc.Width(L"ab") + 2; },
     [](RenderCanvas& rc) { return 2 * Gh(rc); }, L"ab\rc"},
    {"empty_line_keeps_gh", L"a<br><br>b", [](RenderCanvas& rc) { return rc.Width(L"a") + 2; },
     [](RenderCanvas& rc) { return 3 * Gh(rc); }, L""},
    {"bold", L"<b>Hello</b>", [](RenderCanvas& rc) { return rc.Width(L"Hello", true) + 2; }, Gh, L"Hello"},
    {"bold_then_plain", L"<B>Bold</B>Thin",
     [](RenderCanvas& rc) { return rc.Width(L"Bold", true) + rc.Width(L"Thin") + 2; }, Gh, L"BoldThin"},
    {"amp_entity_prefix_mode", L"R&amp;D", [](RenderCanvas& rc) { return rc.Width(L"R&&D") + 2; }, Gh, L""},
    {"amp_entity_no_prefix_mode", L"R & D &amp; Co",
     [](RenderCanvas& rc) {
         return rc.Width(L"R ", false, true) + rc.Width(L"& ", false, true) + rc.Width(L"D ", false, true) +
                rc.Width(L"& ", false, true) + rc.Width(L"Co", false, true) + 2;
     },
     Gh, L"R & D & Co"},
    {"prefix_underlines_next", L"a&bc", [](RenderCanvas& rc) { return rc.Width(L"a&bc") + 2; }, Gh, L""},
    {"lt_gt_show_tag_text", L"&lt;b&gt;x", [](RenderCanvas& rc) { return rc.Width(L"<b>x") + 2; }, Gh, L"<b>x"},
    {"nbsp_keeps_blanks", L"a&nbsp;&nbsp;b", [](RenderCanvas& rc) { return rc.Width(L"a  b") + 2; }, Gh, L"a  b"},
    {"symbol_entities", L"&copy;&reg;&euro;", [](RenderCanvas& rc) { return rc.Width(L"\u00A9\u00AE\u20AC") + 2; }, Gh,
     L"\u00A9\u00AE\u20AC"},
    {"leading_blanks_trimmed", L"a<br>      bb",
     [](RenderCanvas& rc) { return std::max(rc.Width(L"a"), rc.Width(L"bb")) + 2; },
     [](RenderCanvas& rc) { return 2 * Gh(rc); }, L""},
    {"unknown_tags_dropped", L"a<foo x=\"1\">b</foo><div>c</div>",
     [](RenderCanvas& rc) { return rc.Width(L"a") + rc.Width(L"b") + rc.Width(L"c") + 2; }, Gh, L"abc"},
    {"font_size_quoted", L"<font size=\"4\">x</font>",
     [](RenderCanvas& rc) { return rc.Width(L"x", false, false, PointsToHeight(rc, 14)) + 2; },
     [](RenderCanvas& rc) { return std::max(Gh(rc), rc.Height(L"x", false, PointsToHeight(rc, 14))); }, L"x"},
    {"font_size_unquoted", L"<font size=4>x</font>",
     [](RenderCanvas& rc) { return rc.Width(L"x", false, false, PointsToHeight(rc, 14)) + 2; },
     [](RenderCanvas& rc) { return std::max(Gh(rc), rc.Height(L"x", false, PointsToHeight(rc, 14))); }, L"x"},
    {"font_style_points", L"<font style=\"font-size:20pt\">x</font>",
     [](RenderCanvas& rc) { return rc.Width(L"x", false, false, PointsToHeight(rc, 20)) + 2; },
     [](RenderCanvas& rc) { return std::max(Gh(rc), rc.Height(L"x", false, PointsToHeight(rc, 20))); }, L"x"},
    {"stray_tag_at_end", L"ab <", [](RenderCanvas& rc) { return rc.Width(L"ab") + 2; }, Gh, L"ab "},
    {"unterminated_tag", L"ab<b", [](RenderCanvas& rc) { return rc.Width(L"ab") + 2; }, Gh, L"ab"},
};

TEST_P(HtmlRenderSize, MatchesMeasuredText) {
    const SizeCase& c = GetParam();
    RenderCanvas rc;
    const THtmlResult r = Lay(rc, c.text);
    EXPECT_EQ(r.XSize, c.width(rc)) << c.name;
    EXPECT_EQ(r.YSize, c.height(rc)) << c.name;
    if (!c.plain.empty()) {
        EXPECT_EQ(r.PlainText, c.plain) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, HtmlRenderSize, ::testing::ValuesIn(kSizeCases), [](const auto& info) {
    return std::string(info.param.name);
});

TEST(HtmlRender, WrapsBetweenWords) {
    RenderCanvas rc;
    const int fit = rc.Width(L"aaa ") + rc.Width(L"bbb");
    const THtmlResult r = Lay(rc, L"aaa bbb ccc", {0, 0, fit + 1, 300});
    EXPECT_EQ(r.YSize, 2 * Gh(rc));
    EXPECT_EQ(r.XSize, fit + 2);
    EXPECT_EQ(r.PlainText, L"aaa bbb ccc");
}

TEST(HtmlRender, WordWiderThanTheAreaStaysOnItsLine) {
    RenderCanvas rc;
    const THtmlResult r = Lay(rc, L"abcdefghijkl", {0, 0, rc.Width(L"abc"), 300});
    EXPECT_EQ(r.YSize, Gh(rc));
    EXPECT_EQ(r.XSize, rc.Width(L"abcdefghijkl") + 2);
}

TEST(HtmlRender, CentredParagraphIsHitWhereItIsCentred) {
    RenderCanvas rc;
    const std::wstring text = L"<p align=\"center\"><a href=\"mid\">link</a></p>";
    const int w = rc.Width(L"link");
    const int left = (400 - w) / 2;
    const THtmlResult r = Hit(rc, text, left + 1, Gh(rc) / 2);
    ASSERT_TRUE(r.Hit);
    EXPECT_EQ(r.Anchor, L"mid");
    EXPECT_EQ(r.HitRect.Left, left);
    EXPECT_EQ(r.HitRect.Right, left + w);
    EXPECT_FALSE(Hit(rc, text, 2, Gh(rc) / 2).Hit);
}

TEST(HtmlRender, RightParagraphThenLeftAgainAfterItsEnd) {
    RenderCanvas rc;
    const std::wstring text = L"<p align=\"right\"><a href=\"r\">right</a></p><a href=\"l\">left</a>";
    const THtmlResult right = Hit(rc, text, 399 - 1, Gh(rc) / 2);
    ASSERT_TRUE(right.Hit);
    EXPECT_EQ(right.Anchor, L"r");
    EXPECT_EQ(right.HitRect.Right, 400);
    // The closing P resets the alignment for the hit test as for painting: the next line starts at the left.
    const THtmlResult left = Hit(rc, text, 1, Gh(rc) + Gh(rc) / 2);
    ASSERT_TRUE(left.Hit);
    EXPECT_EQ(left.Anchor, L"l");
    EXPECT_EQ(left.HitRect.Left, 0);
}

TEST(HtmlRender, LinksAreNumberedInTextOrderWithTitles) {
    RenderCanvas rc;
    const std::wstring text = L"<a href=\"one\">1st</a> and <A HREF=\"Two\" title=\"Second\">2nd</A>";
    const int x = rc.Width(L"1st") + rc.Width(L" ") + rc.Width(L"and ") + 2;
    const THtmlResult r = Hit(rc, text, x, Gh(rc) / 2);
    ASSERT_TRUE(r.Hit);
    EXPECT_EQ(r.LinkNumber, 2);
    EXPECT_EQ(r.Anchor, L"Two");  // HREF keeps its case
    EXPECT_EQ(r.Title, L"Second");
    EXPECT_EQ(r.LinkCount, 2);
    EXPECT_EQ(Hit(rc, text, 1, Gh(rc) / 2).LinkNumber, 1);
}

TEST(HtmlRender, UnclosedLinkLastsToTheEnd) {
    RenderCanvas rc;
    const std::wstring text = L"<a href=\"u\">abc<br>def";
    const THtmlResult r = Hit(rc, text, 2, Gh(rc) + 2);
    ASSERT_TRUE(r.Hit);
    EXPECT_EQ(r.Anchor, L"u");
}

TEST(HtmlRender, NoHitBelowTheArea) {
    RenderCanvas rc;
    // The second line lies below a one-line area: hit-testing stops at the bottom as painting does.
    const std::wstring text = L"top<br><a href=\"low\">low</a>";
    EXPECT_TRUE(Hit(rc, text, 2, Gh(rc) + 2, {0, 0, 400, 400}).Hit);
    EXPECT_FALSE(Hit(rc, text, 2, Gh(rc) + 2, {0, 0, 400, Gh(rc) + 1}).Hit);
}

TEST(HtmlRender, BodyBackgroundIsPainted) {
    RenderCanvas rc(100, 60);
    THtmlParams p;
    THtmlResult res;
    DrawHtml(rc.Canvas(), L"<body bgcolor=\"#00FF00\">x", {0, 0, 100, 60}, p, res);
    const auto* row = static_cast<const std::uint8_t*>(rc.Bitmap().ScanLine(50));
    EXPECT_EQ(row[90 * 4 + 0], 0);    // blue
    EXPECT_EQ(row[90 * 4 + 1], 255);  // green
    EXPECT_EQ(row[90 * 4 + 2], 0);    // red
}

TEST(HtmlRender, PaintsTextInItsColourAndKeepsTheCanvasFont) {
    RenderCanvas rc(200, 40);
    THtmlParams p;
    THtmlResult res;
    DrawHtml(rc.Canvas(), L"<font color=\"clred\">MMMM</font>", {0, 0, 200, 40}, p, res);
    int red = 0;
    for (int y = 0; y < 20; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(rc.Bitmap().ScanLine(y));
        for (int x = 0; x < 100; ++x)
            red += row[x * 4 + 2] > 200 && row[x * 4 + 1] < 60 && row[x * 4] < 60;
    }
    EXPECT_GT(red, 10);
    EXPECT_EQ(rc.Canvas()->Font()->Color(), clBlack);
    EXPECT_FALSE(rc.Canvas()->Font()->Style().Contains(fsBold));
}

TEST(HtmlRender, NotifierLetterText) {
    RenderCanvas rc;
    const std::wstring head = L"10.12.2026   09:41:07";
    const std::wstring name = L"\u0418\u0432\u0430\u043D <\u041F>";  // a "<" in the sender starts a tag
    const std::wstring text = head + L"  " + L" - " + L"  " + L"<b>" + name + L"</b>" + L"<br><br>" +
                              L"\u0422\u0435\u043C\u0430" + L"<br>" + L"<br>" + L"\u0422\u0435\u043A\u0441\u0442";
    const THtmlResult r = Lay(rc, text, {0, 0, 300, 300});
    EXPECT_EQ(r.YSize, 5 * Gh(rc));
    EXPECT_EQ(r.PlainText, head + L"  " + L" - " + L"  " + L"\u0418\u0432\u0430\u043D " + L"\r\r" +
                               L"\u0422\u0435\u043C\u0430\r\r\u0422\u0435\u043A\u0441\u0442");
    EXPECT_GE(r.XSize, rc.Width(L"10.12.2026") + rc.Width(L"\u0418\u0432\u0430\u043D", true));
}

TEST(HtmlRender, PictureWiderThanTheLineDoesNotLoop) {
    RenderCanvas rc;
    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->Name = L"wide";
    TBitmap bmp(60, 20, pf24bit);
    TMemoryStream ms;
    bmp.SaveToStream(&ms);
    ms.SetPosition(0);
    item->Picture()->LoadFromStream(&ms);
    ASSERT_EQ(item->Picture()->Width(), 60);
    THtmlParams p;
    p.MeasureOnly = true;
    p.PictureContainer = &container;
    THtmlResult res;
    DrawHtml(rc.Canvas(), L"a<img src=\"WIDE\">b", {0, 0, 30, 300}, p, res);
    // The picture fits no line, so it stays after "a" (raising that line to its height); "b" starts the next.
    EXPECT_EQ(res.YSize, std::max(Gh(rc), 20) + Gh(rc));
    DrawHtml(rc.Canvas(), L"<img src=\"wide\"><img src=\"wide\">", {0, 0, 30, 300}, p, res);
    EXPECT_EQ(res.YSize, 20);  // neither fits any line: both stay on the first
    DrawHtml(rc.Canvas(), L"<img src=\"wide\"><img src=\"wide\">", {0, 0, 70, 300}, p, res);
    EXPECT_EQ(res.YSize, 40);  // each fits an empty line: one per line
}

TEST(HtmlRender, MissingPictureTakesNoRoom) {
    RenderCanvas rc;
    const THtmlResult r = Lay(rc, L"a<img src=\"nothing\">b");
    EXPECT_EQ(r.XSize, rc.Width(L"a") + rc.Width(L"b") + 2);
}

TEST(HtmlRender, UncPictureSourcesAreRefused) {
    RenderCanvas rc;
    THTMLPictureCache cache;
    THtmlParams p;
    p.MeasureOnly = true;
    p.PictureCache = &cache;
    THtmlResult res;
    for (const wchar_t* src : {L"file://\\\\server\\share\\x.png", L"file:////server/share/x.png",
                               L"SSYS:\\\\server\\share\\x.txt", L"LSYS://server/share"}) {
        DrawHtml(rc.Canvas(), std::wstring(L"a<img src=\"") + src + L"\">", kArea, p, res);
        EXPECT_EQ(res.XSize, rc.Width(L"a") + 2) << src;
    }
}

}  // namespace

// A picture taller than the text: the link text beside it sits at the bottom, rises to the top with ALIGN="TOP"
// and by half the extra room with ALIGN="MIDDLE"; the hit test finds it where it is drawn.
TEST(HtmlRender, PictureAlignMovesTheLineText) {
    RenderCanvas rc;
    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->Name = L"tall";
    TBitmap bmp(10, 60, pf24bit);
    TMemoryStream ms;
    bmp.SaveToStream(&ms);
    ms.SetPosition(0);
    item->Picture()->LoadFromStream(&ms);
    const int gh = Gh(rc);
    ASSERT_LT(gh, 30);
    struct Case {
        const wchar_t* align;
        int bandTop;  // where the text line starts
    };
    const Case cases[] = {{L"", 60 - gh}, {L" align=\"middle\"", (60 - gh) / 2}, {L" align=\"top\"", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "align:" << std::wstring(c.align).c_str());
        const std::wstring text = std::wstring(L"<img src=\"tall\"") + c.align + L"><a href=\"l\">xx</a>";
        THtmlParams p;
        p.HitOnly = true;
        p.PictureContainer = &container;
        p.HitX = 10 + rc.Width(L"x");
        THtmlResult res;
        p.HitY = c.bandTop + gh / 2;
        DrawHtml(rc.Canvas(), text, kArea, p, res);
        EXPECT_TRUE(res.Hit);
        EXPECT_EQ(res.Anchor, L"l");
        // Outside the text's band: no link.
        p.HitY = c.bandTop > gh ? c.bandTop - 2 : c.bandTop + gh + 2;
        DrawHtml(rc.Canvas(), text, kArea, p, res);
        EXPECT_FALSE(res.Hit);
    }
}

namespace {

// A wrapped text painted by the renderer against the same lines drawn whole with DrawText: the lines come from
// widths measured here, each line is drawn unclipped at the renderer's place (left edge, bottom of its band).
struct InkCase {
    const char* name;
    std::wstring text;  // the words, blank-separated
    bool bold, italic;
    int fontHeight;
};

class HtmlRenderInk : public ::testing::TestWithParam<InkCase> {};

// The greedy lines for area width avail: a word with its blank stays when the line without that blank still fits,
// when the word alone is at least as wide as the area (it is cut either way), and every line takes a word.
std::vector<std::wstring> ExpectedLines(const std::wstring& text,
                                        int avail,
                                        const std::function<int(const std::wstring&)>& width) {
    std::vector<std::wstring> words;
    for (std::size_t p = 0; p < text.size();) {
        const std::size_t blank = text.find(L' ', p);
        const std::size_t end = blank == std::wstring::npos ? text.size() : blank + 1;
        words.push_back(text.substr(p, end - p));
        p = end;
    }
    std::vector<std::wstring> lines(1);
    int x = 0;
    for (const std::wstring& w : words) {
        const int ww = width(w), blank = w.back() == L' ' ? width(L" ") : 0;
        if (!lines.back().empty() && x + ww - blank > avail && ww < avail) {
            lines.emplace_back();
            x = 0;
        }
        lines.back() += w;
        x += ww;
    }
    return lines;
}

TEST_P(HtmlRenderInk, EveryGlyphOfEveryLineIsPainted) {
    const InkCase& c = GetParam();
    constexpr int kW = 600, kH = 400, kLeft = 10;
    RenderCanvas probe(kW, kH, c.fontHeight);
    TFont font;
    font.Assign(probe.Canvas()->Font());
    TFontStyles style;
    if (c.bold)
        style.Include(fsBold);
    if (c.italic)
        style.Include(fsItalic);
    font.SetStyle(style);
    auto width = [&](const std::wstring& s) {
        HDC dc = probe.Canvas()->Handle();
        HGDIOBJ old = SelectObject(dc, font.Handle());
        RECT r{0, 0, 0, 0};
        std::wstring buf = s;
        DrawTextExW(dc, buf.data(), static_cast<int>(buf.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS,
                    nullptr);
        SelectObject(dc, old);
        probe.Canvas()->Refresh();
        return static_cast<int>(r.right - r.left);
    };
    const int gh = probe.Height(L"gh", false, c.fontHeight);
    const int full = width(c.text);
    std::wstring html = c.text;
    if (c.bold)
        html = L"<b>" + html + L"</b>";
    if (c.italic)
        html = L"<i>" + html + L"</i>";
    for (int avail = full + 6; avail >= full / 4; --avail) {
        RenderCanvas painted(kW, kH, c.fontHeight);
        THtmlParams p;
        THtmlResult res;
        DrawHtml(painted.Canvas(), html, {kLeft, 0, kLeft + avail, kH}, p, res);
        RenderCanvas expected(kW, kH, c.fontHeight);
        HDC dc = expected.Canvas()->Handle();
        HGDIOBJ old = SelectObject(dc, font.Handle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        const std::vector<std::wstring> lines = ExpectedLines(c.text, avail, width);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::wstring buf = lines[i];
            RECT r{kLeft, static_cast<LONG>(i) * gh, kW, static_cast<LONG>(i + 1) * gh};
            DrawTextExW(dc, buf.data(), static_cast<int>(buf.size()), &r,
                        DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP, nullptr);
        }
        SelectObject(dc, old);
        expected.Canvas()->Refresh();
        ASSERT_EQ(res.YSize, static_cast<int>(lines.size()) * gh) << "width " << avail;
        int differ = 0, firstX = -1, firstY = -1;
        for (int y = 0; y < kH; ++y) {
            const auto* a = static_cast<const std::uint32_t*>(painted.Bitmap().ScanLine(y));
            const auto* b = static_cast<const std::uint32_t*>(expected.Bitmap().ScanLine(y));
            for (int x = 0; x < kW; ++x)
                if ((a[x] & 0xFFFFFF) != (b[x] & 0xFFFFFF)) {
                    if (differ++ == 0)
                        firstX = x, firstY = y;
                }
        }
        ASSERT_EQ(differ, 0) << "width " << avail << ": first difference at (" << firstX << ", " << firstY << "), line "
                             << (gh ? firstY / gh : 0);
    }
}

const InkCase kInkCases[] = {
    {"room_period", L"Room 4 and the usual link.", false, false, 13},
    {"thursday_room", L"The review moves to Thursday, 3 pm. Room 4 and the usual link.", false, false, 13},
    {"bold_period", L"Your ticket has been resolved.", true, false, 13},
    {"italic_overhang", L"Staff of the gulf", false, true, 24},
    {"large_italic_f", L"If a chief is stiff", false, true, 48},
    {"large_period", L"Room 4 and the usual link.", false, false, 27},
};

INSTANTIATE_TEST_SUITE_P(Cases, HtmlRenderInk, ::testing::ValuesIn(kInkCases), [](const auto& info) {
    return std::string(info.param.name);
});

}  // namespace
