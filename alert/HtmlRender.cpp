// The mini-HTML renderer. Each line is laid out twice: a measure pass consumes what belongs to the line and
// gives its size and alignment, then (unless only measuring) the consumed part alone is laid out again at its
// final place to draw it or hit-test it. The state of fonts and flags at the start of a line is restored before
// the second pass, so both passes see the same text in the same state.
#include "alert/HtmlRender.h"

#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "alert/HtmlText.h"
#include "classlib/SysUtils.h"

namespace {

struct FontDesc {
    std::wstring name;
    int height = 13;
    bool bold = false, italic = false, underline = false, strike = false;
    TColor color = clBlack;
};

// Everything that carries from one line to the next.
struct State {
    FontDesc font;
    TColor brush = clNone;  // text background, clNone = transparent
    FontDesc linkSaved;
    TColor linkSavedBrush = clNone;
    std::vector<std::pair<FontDesc, TColor>> fontStack;  // /FONT restores
    TColor hiSavedColor = clBlack, hiSavedBrush = clNone;
    TColor spanSavedBrush = clNone;
    TColor blinkSavedColor = clBlack;
    int listLevel = 0;
    bool ordered = false;
    int counter = 1;
    int align = 0;  // 0 left, 1 right, 2 centre
    int indent = 0;
    int ofs = 0;
    int rotation = 0;  // tenths of a degree for R
    bool sub = false, sup = false, shadow = false, err = false, hidden = false, inLink = false;
    std::wstring href, title;
    int linkNo = 0;  // links met so far
    TColor paraBg = clNone, paraBgTo = clNone;
};

// What the measure pass learns about one line.
struct Line {
    int width = 0;
    int height = 0;
    int above = 0, below = 0;
    int align = 0, indent = 0;
    int pictureAlign = 0;  // a picture with ALIGN on the line: 1 TOP, 2 MIDDLE (the text moves up with it)
};

enum class Pass { Measure, Place };

struct Picture {
    THTMLPicture* html = nullptr;
    int imageIndex = -1;
    HIMAGELIST shellList = nullptr;
    int shellIndex = -1;
    int width = 0, height = 0;
    bool Valid() const { return width > 0 && height > 0; }
};

bool StartsWith(const std::wstring& s, const wchar_t* prefix) {
    return s.rfind(prefix, 0) == 0;
}

class Renderer {
  public:
    Renderer(TCanvas* canvas, const TRect& rect, const THtmlParams& p, THtmlResult& r)
        : canvas_(canvas), dc_(canvas->Handle()), rect_(rect), p_(p), r_(r) {}

    void Run(const std::wstring& text);

  private:
    // ---- fonts and text ----
    HFONT Font(const FontDesc& f) {
        LOGFONTW lf{};
        lf.lfHeight = f.height;
        lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = f.italic;
        lf.lfUnderline = f.underline;
        lf.lfStrikeOut = f.strike;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfEscapement = lf.lfOrientation = st_.rotation;
        lstrcpynW(lf.lfFaceName, f.name.c_str(), LF_FACESIZE);
        font_.Reset(CreateFontIndirectW(&lf));
        return static_cast<HFONT>(font_.Get());
    }
    void Select() { SelectObject(dc_, Font(st_.font)); }
    // The first link found under the hit point wins.
    void RecordHit(const TRect& area) {
        if (r_.Hit)
            return;
        r_.Hit = true;
        r_.Anchor = st_.href;
        r_.Title = st_.title;
        r_.LinkNumber = st_.linkNo;
        r_.HitRect = area;
    }
    TSize Extent(const std::wstring& s) {
        Select();
        RECT rc{0, 0, 0, 0};
        std::wstring buf = s;
        // Measured without DT_BOTTOM, which would move the computed rectangle instead of sizing it.
        const int h = DrawTextExW(dc_, buf.data(), static_cast<int>(buf.size()), &rc,
                                  (flags_ & ~DT_BOTTOM) | DT_CALCRECT, nullptr);
        return {static_cast<int>(rc.right - rc.left), std::max(static_cast<int>(rc.bottom - rc.top), h)};
    }
    int GhHeight() { return Extent(L"gh").cy; }
    int PointsToHeight(int pt) { return -MulDiv(pt, GetDeviceCaps(dc_, LOGPIXELSY), 72); }
    void SetColor(TColor c) {
        if (!p_.NoColors)
            st_.font.color = c;
    }
    void SetBrush(TColor c) {
        if (!p_.NoColors)
            st_.brush = c;
    }
    bool Drawing() const { return pass_ == Pass::Place && !p_.HitOnly && !p_.MeasureOnly; }
    void Fill(const TRect& r, TColor c) {
        TGdiBrush b(CreateSolidBrush(ColorToRGB(c)));
        FillRect(dc_, AsRECT(r), static_cast<HBRUSH>(b.Get()));
    }
    void Gradient(const TRect& r, TColor from, TColor to, bool horizontal) {
        const TColor a = ColorToRGB(from), b = ColorToRGB(to);
        const int steps = 64;
        const int len = horizontal ? r.Width() : r.Height();
        for (int i = 0; i < steps; ++i) {
            auto ch = [&](int shift) {
                const int x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
                return static_cast<TColor>(x + (y - x) * i / steps) << shift;
            };
            const int s = len * i / steps, e = len * (i + 1) / steps;
            TRect band = horizontal ? TRect{r.Left + s, r.Top, r.Left + e, r.Bottom}
                                    : TRect{r.Left, r.Top + s, r.Right, r.Top + e};
            Fill(band, ch(0) | ch(8) | ch(16));
        }
    }

    // ---- one line ----
    std::wstring LayOut(std::wstring& s, Line& line, int x0, int top, int bottom);
    bool Tag(const std::wstring& tag,
             std::wstring& s,
             Line& line,
             int& x,
             int top,
             int bottom,
             bool lineHasContent,
             bool& endLine);
    void TextRun(const std::wstring& run, Line& line, int& x, int bottom);
    bool Picture_(const std::wstring& tag,
                  const std::wstring& upper,
                  Line& line,
                  int& x,
                  int top,
                  int bottom,
                  bool lineHasContent);
    Picture FindPicture(const std::wstring& src);
    void DrawPicture(const Picture& pic, const TRect& r);
    void Body(const std::wstring& tag, const std::wstring& upper);
    void ListMark(const std::wstring& upper, int& x, int top, int bottom);

    TCanvas* canvas_;
    HDC dc_;
    TRect rect_;
    const THtmlParams& p_;
    THtmlResult& r_;
    State st_;
    TGdiFont font_;
    UINT flags_ = 0;
    Pass pass_ = Pass::Measure;
    TColor background_ = clNone;
    int lineX0_ = 0;         // where the line's x positions count from
    int trailingBlank_ = 0;  // width of the blank that ends the line's last run
    bool liOnLine_ = false;
    TRect linkArea_{};  // the current link's runs on this line (focus frame)
};

void Renderer::Run(const std::wstring& text) {
    TFont* cf = canvas_->Font();
    st_.font.name = cf->Name();
    st_.font.height = cf->Height();
    const TFontStyles fs = cf->Style();
    st_.font.bold = fs.Contains(fsBold);
    st_.font.italic = fs.Contains(fsItalic);
    st_.font.underline = fs.Contains(fsUnderline);
    st_.font.strike = fs.Contains(fsStrikeOut);
    st_.font.color = cf->Color();
    background_ = canvas_->Brush()->Color();

    THtmlPrefixMode mode;
    std::wstring s = PreprocessHtml(text, mode);
    flags_ = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
    if (p_.RightToLeft)
        flags_ |= DT_RTLREADING;
    if (mode == THtmlPrefixMode::NoPrefix)
        flags_ |= DT_NOPREFIX;
    if (!p_.WordWrap)
        flags_ |= DT_END_ELLIPSIS;

    const int oldMode = SetBkMode(dc_, TRANSPARENT);
    const COLORREF oldText = GetTextColor(dc_);
    HGDIOBJ oldFont = GetCurrentObject(dc_, OBJ_FONT);

    int top = rect_.Top;
    const bool drawing = !p_.MeasureOnly;
    while (!s.empty()) {
        s = Trim(s);
        if (s.empty())
            break;
        const int gh = GhHeight();
        const State start = st_;
        Line line;
        line.height = gh;
        pass_ = Pass::Measure;
        const std::size_t before = s.size();
        std::wstring consumed = LayOut(s, line, 0, top, top);
        if (consumed.empty() && s.size() == before) {
            s.erase(0, 1);  // nothing could be laid out: never loop on the same text
            continue;
        }
        const int full = line.height + p_.LineSpacing + line.above + line.below;
        if (drawing) {
            int left = rect_.Left;
            const int w = line.width - start.ofs;
            if (line.align == 1 && rect_.Right - w > left)
                left = rect_.Right - w;
            else if (line.align == 2 && w < rect_.Width())
                left = rect_.Left + static_cast<int>(static_cast<unsigned>(rect_.Width() - w) / 2);
            left += line.indent;
            st_ = start;
            pass_ = Pass::Place;
            LayOut(consumed, line, left, top, top + full);
        }
        r_.XSize = std::max(r_.XSize, line.width + 2);
        r_.YSize += full;
        top += full;
        // Whatever is drawn or hit-tested stops at the bottom, so hit areas match the painted lines.
        if (drawing && top + GhHeight() > rect_.Bottom)
            break;
    }
    Select();
    r_.YSize = std::max(r_.YSize, GhHeight());
    r_.LinkCount = st_.linkNo;

    SelectObject(dc_, oldFont);
    SetTextColor(dc_, oldText);
    SetBkMode(dc_, oldMode);
    canvas_->Refresh();
}

std::wstring Renderer::LayOut(std::wstring& s, Line& line, int x0, int top, int bottom) {
    lineX0_ = x0;
    int x = st_.ofs + x0;
    const std::wstring original = s;
    const std::size_t total = s.size();
    bool hasContent = false;
    trailingBlank_ = 0;
    liOnLine_ = false;
    linkArea_ = {};
    const int avail = rect_.Width();
    bool endLine = false;
    while (!s.empty() && !endLine) {
        if (s[0] != L'<') {
            // A text run: up to and including the next blank before the next tag (word wrap), else to the tag.
            const std::size_t lt = s.find(L'<');
            std::size_t end = lt == std::wstring::npos ? s.size() : lt;
            // Lines break between words only when measuring; the placed line is drawn a tag run at a time.
            if (p_.WordWrap && pass_ == Pass::Measure) {
                const std::size_t blank = s.find(L' ');
                if (blank != std::wstring::npos && blank < end)
                    end = blank + 1;
            }
            std::wstring run = s.substr(0, end);
            for (auto [from, to] : {std::pair{L"&nbsp;", L" "}, {L"&lt;", L"<"}, {L"&gt;", L">"}})
                while (ReplaceFirstNoCase(run, from, to)) {
                }
            if (pass_ == Pass::Measure) {
                const int w = st_.hidden ? 0 : Extent(run).cx;
                const int blank = (!run.empty() && run.back() == L' ' && !st_.hidden) ? Extent(L" ").cx : 0;
                // The run stays when the line still fits, when it alone fills the width, or on the line's first
                // token (so a line always takes something).
                const bool fits = x + w - blank <= avail || w >= avail || !p_.WordWrap || !hasContent;
                if (!fits) {
                    endLine = true;
                    break;
                }
                r_.PlainText += run;
                trailingBlank_ = blank;
            }
            TextRun(run, line, x, bottom);
            s.erase(0, end);
            hasContent = true;
            continue;
        }
        if (s.size() <= 2) {  // a lone "<" or "<x" at the end
            s.clear();
            break;
        }
        const std::size_t close = s.find(L'>');
        if (close == std::wstring::npos) {
            s.clear();
            break;
        }
        const std::wstring tag = s.substr(0, close + 1);
        bool tagEndsLine = false;
        const int xBefore = x;
        const bool keep = Tag(tag, s, line, x, top, bottom, hasContent, tagEndsLine);
        if (x != xBefore && StartsWith(UpperCase(tag), L"<IMG"))
            hasContent = true;  // a placed picture counts as the line's content
        if (keep) {             // the tag starts the next line
            endLine = true;
            break;
        }
        s.erase(0, close + 1);
        if (tagEndsLine)
            endLine = true;
    }
    if (pass_ == Pass::Measure) {
        line.width = std::max(line.width, x - trailingBlank_);
        line.align = st_.align;
        line.indent = st_.indent;
    }
    return original.substr(0, total - s.size());
}

void Renderer::TextRun(const std::wstring& run, Line& line, int& x, int bottom) {
    if (run.empty() || st_.hidden)
        return;
    const TSize ext = Extent(run);
    if (pass_ == Pass::Measure) {
        line.height = std::max(line.height, ext.cy);
        if (st_.sub)
            line.below = std::max(line.below, ext.cy / 4);
        if (st_.sup)
            line.above = std::max(line.above, ext.cy / 4);
        x += ext.cx;
        return;
    }
    // Placed: the text sits on the line's bottom less the room kept for subscripts.
    // Beside a picture aligned to the top or the middle the text rises by the room the picture adds (or half).
    const int room = line.pictureAlign ? std::max(0, line.height - GhHeight()) : 0;
    const int lift = line.pictureAlign == 1 ? room : room / 2;
    int textBottom = bottom - line.below - p_.LineSpacing - lift;
    if (st_.sub)
        textBottom += ext.cy / 4;
    if (st_.sup)
        textBottom -= ext.cy / 4;
    TRect rc{x, textBottom - ext.cy, x + ext.cx, textBottom};
    if (st_.inLink) {
        const int gh = GhHeight();
        const int bandBottom = bottom - line.below - p_.LineSpacing - lift;
        if (p_.HitX >= rc.Left && p_.HitX < rc.Right && p_.HitY >= bandBottom - gh && p_.HitY < bandBottom)
            RecordHit(rc);
        linkArea_ = linkArea_.IsEmpty()
                        ? rc
                        : TRect{std::min(linkArea_.Left, rc.Left), std::min(linkArea_.Top, rc.Top),
                                std::max(linkArea_.Right, rc.Right), std::max(linkArea_.Bottom, rc.Bottom)};
    }
    if (Drawing()) {
        // A run's rectangle is its advance width; glyphs may ink a pixel or more beyond it (a final period, an
        // italic or bold overhang), so the run is not clipped to it: the caller's clip region bounds the area.
        const UINT flags = (flags_ & ~DT_EXTERNALLEADING) | DT_NOCLIP;
        if (!p_.WordWrap) {
            if (x >= rect_.Right - Extent(L"l").cx) {
                x += ext.cx;
                return;
            }
            rc.Right = std::min<int>(rect_.Right, rc.Right);
        }
        if (st_.font.italic)
            rc.Right += 2;
        Select();
        std::wstring buf = run;
        if (st_.shadow) {
            SetBkMode(dc_, TRANSPARENT);
            SetTextColor(dc_, ColorToRGB(p_.ShadowColor));
            RECT sr{rc.Left + p_.ShadowOffset, rc.Top + p_.ShadowOffset, rc.Right + p_.ShadowOffset,
                    rc.Bottom + p_.ShadowOffset};
            DrawTextExW(dc_, buf.data(), static_cast<int>(buf.size()), &sr, flags, nullptr);
        }
        if (st_.brush != clNone) {
            SetBkMode(dc_, OPAQUE);
            SetBkColor(dc_, ColorToRGB(st_.brush));
        } else {
            SetBkMode(dc_, TRANSPARENT);
        }
        SetTextColor(dc_, ColorToRGB(st_.font.color));
        RECT r{rc.Left, rc.Top, rc.Right, rc.Bottom};
        DrawTextExW(dc_, buf.data(), static_cast<int>(buf.size()), &r, flags, nullptr);
        SetBkMode(dc_, TRANSPARENT);
        if (st_.err) {
            // Red zigzag of 2-pixel steps under the run.
            TGdiPen pen(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
            HGDIOBJ old = SelectObject(dc_, pen.Get());
            const int y = rc.Bottom - 1;
            MoveToEx(dc_, rc.Left, y, nullptr);
            for (int px = rc.Left + 2, k = 1; px <= rc.Left + ext.cx; px += 2, ++k)
                LineTo(dc_, px, (k & 1) ? y - 2 : y);
            SelectObject(dc_, old);
        }
    }
    x += ext.cx;
}

Picture Renderer::FindPicture(const std::wstring& src) {
    Picture pic;
    const std::wstring upper = UpperCase(src);
    if (StartsWith(upper, L"IDX:")) {
        const int n = HtmlLeadingNumber(src.substr(4));
        if (p_.Images && n >= 0 && n < p_.Images->Count()) {
            const int dpi = GetDeviceCaps(dc_, LOGPIXELSX);
            pic.imageIndex = n;
            pic.width = MulDiv(p_.Images->Width(), dpi, 96);
            pic.height = MulDiv(p_.Images->Height(), dpi, 96);
        }
        return pic;
    }
    if (StartsWith(upper, L"SSYS:") || StartsWith(upper, L"LSYS:")) {
        const bool small = upper[0] == L'S';
        const std::wstring what = src.substr(5);
        // A letter may name a UNC path here: never ask the shell about it (that would reach the network).
        if (what.empty() || !IsLocalPictureSource(what))
            return pic;
        SHFILEINFOW info{};
        const UINT size = small ? SHGFI_SMALLICON : SHGFI_LARGEICON;
        HIMAGELIST list = nullptr;
        bool isNumber = std::all_of(what.begin(), what.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
        if (isNumber) {
            list =
                reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | size));
            info.iIcon = HtmlLeadingNumber(what);
        } else {
            const bool exists = GetFileAttributesW(what.c_str()) != INVALID_FILE_ATTRIBUTES;
            list = reinterpret_cast<HIMAGELIST>(
                SHGetFileInfoW(what.c_str(), exists ? 0 : FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                               SHGFI_SYSICONINDEX | size | (exists ? 0 : SHGFI_USEFILEATTRIBUTES)));
        }
        int w = 0, h = 0;
        if (list && ImageList_GetIconSize(list, &w, &h)) {
            pic.shellList = list;
            pic.shellIndex = info.iIcon;
            pic.width = w;
            pic.height = h;
        }
        return pic;
    }
    THTMLPicture* html = nullptr;
    if (src.find(L"://") != std::wstring::npos) {
        if (p_.PictureCache) {
            html = p_.PictureCache->FindPicture(src);
            if (!html) {
                html = p_.PictureCache->AddPicture();
                html->Asynch = false;
                html->LoadFromURL(src);
            }
        }
    } else if (src.find(L':') == std::wstring::npos && p_.PictureContainer) {
        html = p_.PictureContainer->FindPicture(src);
    }
    if (html && !html->Empty()) {
        pic.html = html;
        pic.width = html->Width();
        pic.height = html->Height();
    }
    return pic;
}

void Renderer::DrawPicture(const Picture& pic, const TRect& r) {
    if (pic.html) {
        if (pic.html->FrameCount() > 1 && background_ != clNone)
            Fill(r, background_);
        canvas_->Refresh();
        canvas_->StretchDraw(r, pic.html);
        canvas_->Refresh();
    } else if (pic.imageIndex >= 0 && p_.Images) {
        canvas_->Refresh();
        p_.Images->Draw(canvas_, r.Left, r.Top, pic.imageIndex);
        canvas_->Refresh();
    } else if (pic.shellList) {
        ImageList_Draw(pic.shellList, pic.shellIndex, dc_, r.Left, r.Top, ILD_TRANSPARENT);
    }
}

bool Renderer::Picture_(const std::wstring& tag,
                        const std::wstring& upper,
                        Line& line,
                        int& x,
                        int top,
                        int bottom,
                        bool lineHasContent) {
    Picture pic = FindPicture(HtmlAttribute(tag, L"SRC"));
    if (!pic.Valid())
        return false;  // a missing picture draws nothing and takes no room
    int w = pic.width, h = pic.height;
    const int aw = HtmlLeadingNumber(HtmlLooseAttribute(upper, L"WIDTH"));
    const int ah = HtmlLeadingNumber(HtmlLooseAttribute(upper, L"HEIGHT"));
    if (aw > 0 && ah > 0) {
        w = aw;
        h = ah;
    } else if (aw > 0) {
        h = MulDiv(h, aw, w);
        w = aw;
    } else if (ah > 0) {
        w = MulDiv(w, ah, h);
        h = ah;
    }
    if (p_.PrintMode) {
        w = static_cast<int>(w * p_.ImageScale);
        h = static_cast<int>(h * p_.ImageScale);
    }
    const std::wstring align = HtmlAttribute(upper, L"ALIGN");
    if (pass_ == Pass::Measure) {
        if (align == L"TOP")
            line.pictureAlign = 1;
        else if (align == L"MIDDLE" && line.pictureAlign == 0)
            line.pictureAlign = 2;
        // A picture that does not fit the rest of the line but fits an empty one starts the next line.
        if (lineHasContent && x + w > rect_.Width() && w <= rect_.Width())
            return true;
        if (upper.find(L" WRAP") != std::wstring::npos)
            line.height = std::max(GhHeight(), line.height);
        line.height = std::max(line.height, h);
        x += w;
        return false;
    }
    const int lineBottom = bottom - line.below - p_.LineSpacing;
    int y = lineBottom - h;
    if (align == L"TOP")
        y = top + line.above;
    else if (align == L"MIDDLE")
        y = top + line.above + (lineBottom - top - line.above - h) / 2;
    const TRect r{x, y, x + w, y + h};
    if (st_.inLink && r.Contains({p_.HitX, p_.HitY}))
        RecordHit(r);
    if (Drawing())
        DrawPicture(pic, r);
    x += w;
    return false;
}

void Renderer::Body(const std::wstring& tag, const std::wstring& upper) {
    if (!Drawing())
        return;
    const std::wstring bg = HtmlAttribute(upper, L"BGCOLOR");
    if (!bg.empty()) {
        const TRect area{rect_.Left - 2, rect_.Top, rect_.Right, rect_.Bottom};
        const std::wstring to = HtmlAttribute(upper, L"BGCOLORTO");
        if (!to.empty()) {
            const std::wstring dir = HtmlAttribute(upper, L"DIR");
            Gradient(area, HtmlColor(bg), HtmlColor(to), dir.empty() || dir == L"H");
        } else {
            Fill(area, HtmlColor(bg));
        }
    }
    TCanvasClipGuard guard(canvas_);
    const TGdiRegion clip(CreateRectRgn(rect_.Left, rect_.Top, rect_.Right, rect_.Bottom));
    ExtSelectClipRgn(dc_, clip.Get(), RGN_AND);
    for (const wchar_t* name : {L"BACKGROUND", L"BGTOPLEFT"}) {
        const std::wstring src = HtmlAttribute(upper, name);
        if (src.empty())
            continue;
        const Picture pic = FindPicture(src);
        if (!pic.Valid())
            continue;
        for (int y = rect_.Top; y < rect_.Bottom; y += pic.height)
            for (int x = rect_.Left; x < rect_.Right; x += pic.width)
                DrawPicture(pic, {x, y, x + pic.width, y + pic.height});
    }
    const std::wstring right = HtmlAttribute(upper, L"BGTOPRIGHT");
    if (!right.empty()) {
        const Picture pic = FindPicture(right);
        if (pic.Valid())
            for (int y = rect_.Top; y < rect_.Bottom; y += pic.height)
                DrawPicture(pic, {rect_.Right - pic.width, y, rect_.Right, y + pic.height});
    }
    (void)tag;
}

void Renderer::ListMark(const std::wstring& upper, int& x, int top, int bottom) {
    (void)top;
    const int markX = x + (st_.listLevel - 1) * 12;
    const std::wstring type = HtmlAttribute(upper, L"TYPE");
    std::wstring mark;
    if (type.empty()) {
        if (st_.ordered)
            mark = IntToStr(st_.counter) + L". ";
        else
            mark = (st_.listLevel % 2 == 1) ? L"\u2022" : L"o";
    }
    const int textX = st_.ordered && type.empty() ? markX + std::max(12, Extent(mark).cx) : markX + 12;
    if (Drawing()) {
        if (!type.empty()) {
            const std::wstring col = HtmlAttribute(upper, L"COLOR");
            const TColor c = col.empty() ? st_.font.color : HtmlColor(col);
            TGdiBrush b(CreateSolidBrush(ColorToRGB(c)));
            TGdiPen pen(CreatePen(PS_SOLID, 1, ColorToRGB(c)));
            HGDIOBJ ob = SelectObject(dc_, b.Get()), op = SelectObject(dc_, pen.Get());
            if (type == L"SQUARE")
                Rectangle(dc_, markX, top + 2, markX + 8, top + 10);
            else if (type == L"CIRCLE")
                Ellipse(dc_, markX, top + 2, markX + 8, top + 10);
            SelectObject(dc_, ob);
            SelectObject(dc_, op);
        } else {
            Select();
            SetTextColor(dc_, ColorToRGB(st_.font.color));
            RECT r{markX, top, textX + 50, bottom};
            DrawTextExW(dc_, mark.data(), static_cast<int>(mark.size()), &r,
                        (flags_ & ~DT_EXTERNALLEADING) | DT_NOPREFIX, nullptr);
        }
    }
    if (st_.ordered && type.empty())
        ++st_.counter;
    x = textX;
}

// Handles one tag. Returns true when the tag must start the next line (it stays in the text); sets endLine when
// the tag ends the current line after being consumed.
bool Renderer::Tag(const std::wstring& tag,
                   std::wstring& s,
                   Line& line,
                   int& x,
                   int top,
                   int bottom,
                   bool lineHasContent,
                   bool& endLine) {
    (void)s;
    bool closing = false;
    const std::wstring name = HtmlTagName(tag, closing);
    const std::wstring upper = UpperCase(tag);
    const bool measuring = pass_ == Pass::Measure;
    const bool hovered = st_.linkNo + (closing ? 0 : 1) == p_.HoverLink;
    if (closing) {
        if (name == L"A") {
            st_.font.underline = false;
            st_.font.color = st_.linkSaved.color;
            st_.brush = st_.linkSavedBrush;
            st_.inLink = false;
            if (Drawing() && p_.FocusLink >= 0 && p_.FocusLink == st_.linkNo - 1 && !linkArea_.IsEmpty()) {
                RECT fr{linkArea_.Left, linkArea_.Top, linkArea_.Right, linkArea_.Bottom};
                DrawFocusRect(dc_, &fr);
            }
        } else if (name == L"B") {
            st_.font.bold = false;
        } else if (StartsWith(name, L"B")) {
            st_.font.color = st_.blinkSavedColor;
        } else if (name == L"E") {
            st_.err = false;
        } else if (StartsWith(name, L"FONT")) {
            if (!st_.fontStack.empty()) {
                st_.font = st_.fontStack.back().first;
                st_.brush = st_.fontStack.back().second;
                st_.fontStack.pop_back();
            }
        } else if (StartsWith(name, L"HI")) {
            st_.font.color = st_.hiSavedColor;
            st_.brush = st_.hiSavedBrush;
        } else if (name == L"I") {
            st_.font.italic = false;
        } else if (StartsWith(name, L"LI")) {
            endLine = true;
        } else if (StartsWith(name, L"OL") || StartsWith(name, L"UL")) {
            st_.listLevel = std::max(0, st_.listLevel - 1);
            if (st_.listLevel == 0 && name[0] == L'O')
                st_.ofs = 0;
        } else if (name == L"P") {
            endLine = true;
            st_.paraBg = st_.paraBgTo = clNone;
            // Drawing and hit-testing both reset the alignment here; the measure pass keeps it for its line.
            if (!measuring)
                st_.align = 0;
        } else if (name == L"R") {
            st_.rotation = 0;
        } else if (name == L"S" || StartsWith(name, L"ST")) {
            st_.font.strike = false;
        } else if (StartsWith(name, L"SU")) {
            st_.sub = st_.sup = false;
        } else if (StartsWith(name, L"SP")) {
            st_.brush = st_.spanSavedBrush;
        } else if (StartsWith(name, L"SH")) {
            st_.shadow = false;
        } else if (name == L"U") {
            st_.font.underline = false;
        } else if (name == L"Z") {
            st_.hidden = false;
        }
        return false;
    }

    if (name == L"A") {
        st_.linkSaved = st_.font;
        st_.linkSavedBrush = st_.brush;
        ++st_.linkNo;
        st_.inLink = true;
        st_.href = HtmlAttribute(tag, L"HREF");
        st_.title = HtmlAttribute(tag, L"TITLE");
        st_.font.underline = !p_.HoverEnabled || hovered;
        if (hovered && p_.HoverFontColor != clNone)
            SetColor(p_.HoverFontColor);
        else
            SetColor(p_.URLColor);
        if (hovered && p_.HoverBrushColor != clNone)
            SetBrush(p_.HoverBrushColor);
    } else if (name == L"B") {
        st_.font.bold = true;
    } else if (StartsWith(name, L"BR")) {
        if (measuring)
            r_.PlainText += L'\r';
        endLine = true;
    } else if (StartsWith(name, L"BODY")) {
        Body(tag, upper);
    } else if (StartsWith(name, L"BL")) {
        st_.blinkSavedColor = st_.font.color;
        if (!p_.BlinkVisible && background_ != clNone)
            st_.font.color = background_;
    } else if (name == L"E") {
        st_.err = true;
    } else if (StartsWith(name, L"FONT")) {
        st_.fontStack.emplace_back(st_.font, st_.brush);
        const std::wstring face = HtmlAttribute(upper, L"FACE");
        if (!face.empty())
            st_.font.name = face;
        const std::wstring color = HtmlAttribute(upper, L"COLOR");
        if (!color.empty())
            SetColor(HtmlColor(color));
        const std::wstring bg = HtmlAttribute(upper, L"BGCOLOR");
        if (!bg.empty())
            SetBrush(HtmlColor(bg));
        const std::wstring size = HtmlLooseAttribute(upper, L"SIZE");
        int pt = 0;
        if (!size.empty()) {
            static const int kSizes[] = {0, 8, 10, 12, 14, 16};
            const int n = HtmlLeadingNumber(size);
            pt = (n >= 1 && n <= 5) ? kSizes[n] : n;
        }
        const std::wstring style = HtmlAttribute(upper, L"STYLE");
        const std::size_t fsz = style.find(L"FONT-SIZE:");
        if (fsz != std::wstring::npos) {
            const std::size_t ptPos = style.find(L"PT", fsz);
            pt = HtmlLeadingNumber(
                style.substr(fsz + 10, ptPos == std::wstring::npos ? std::wstring::npos : ptPos - fsz - 10));
        }
        if (pt > 0)
            st_.font.height = PointsToHeight(std::min(pt, 400));
    } else if (StartsWith(name, L"HI")) {
        st_.hiSavedColor = st_.font.color;
        st_.hiSavedBrush = st_.brush;
        SetBrush(clHighlight);
        SetColor(clHighlightText);
    } else if (StartsWith(name, L"HR")) {
        if (Drawing()) {
            const std::wstring c = HtmlAttribute(upper, L"COLOR");
            TGdiPen pen(CreatePen(PS_SOLID, 1, ColorToRGB(c.empty() ? clBlack : HtmlColor(c))));
            HGDIOBJ old = SelectObject(dc_, pen.Get());
            MoveToEx(dc_, rect_.Left, bottom, nullptr);
            LineTo(dc_, rect_.Right, bottom);
            SelectObject(dc_, old);
        }
        endLine = true;
    } else if (name == L"I") {
        st_.font.italic = true;
    } else if (StartsWith(name, L"IND")) {
        const int ind = HtmlLeadingNumber(HtmlLooseAttribute(upper, L"X"));
        if (x < lineX0_ + ind)
            x = lineX0_ + ind;
    } else if (StartsWith(name, L"IMG")) {
        return Picture_(tag, upper, line, x, top, bottom, lineHasContent);
    } else if (StartsWith(name, L"LI")) {
        if (liOnLine_ || (lineHasContent && measuring))
            return true;
        liOnLine_ = true;
        ListMark(upper, x, top, bottom);
    } else if (StartsWith(name, L"OL") || StartsWith(name, L"UL")) {
        if (lineHasContent && measuring)
            return true;
        ++st_.listLevel;
        st_.ordered = name[0] == L'O';
        if (st_.ordered)
            st_.counter = 1;
    } else if (StartsWith(name, L"OFS")) {
        st_.ofs = HtmlLeadingNumber(HtmlLooseAttribute(upper, L"X"));
        x = lineX0_ + st_.ofs;
    } else if (name == L"P") {
        const std::wstring align = HtmlAttribute(upper, L"ALIGN");
        if (align.find(L"RIGHT") != std::wstring::npos)
            st_.align = 1;
        else if (align.find(L"LEFT") != std::wstring::npos)
            st_.align = 0;
        else if (align.find(L"CENTER") != std::wstring::npos)
            st_.align = 2;
        const std::wstring indent = HtmlAttribute(upper, L"INDENT");
        if (!indent.empty())
            st_.indent = HtmlLeadingNumber(indent);
        const std::wstring bg = HtmlAttribute(upper, L"BGCOLOR");
        st_.paraBg = bg.empty() ? clNone : HtmlColor(bg);
        const std::wstring bgTo = HtmlAttribute(upper, L"BGCOLORTO");
        st_.paraBgTo = bgTo.empty() ? clNone : HtmlColor(bgTo);
        if (Drawing() && st_.paraBg != clNone) {
            const TRect band{rect_.Left, top, rect_.Right, bottom};
            if (st_.paraBgTo != clNone)
                Gradient(band, st_.paraBg, st_.paraBgTo, true);
            else
                Fill(band, st_.paraBg);
        }
    } else if (name == L"R") {
        st_.rotation = HtmlLeadingNumber(HtmlLooseAttribute(upper, L"A")) * 10;
    } else if (name == L"S" || StartsWith(name, L"ST")) {
        st_.font.strike = true;
    } else if (name == L"SUB") {
        st_.sub = true;
    } else if (name == L"SUP") {
        st_.sup = true;
    } else if (StartsWith(name, L"SP")) {
        st_.spanSavedBrush = st_.brush;
        const std::wstring style = HtmlAttribute(upper, L"STYLE");
        const std::size_t p = style.find(L"BACKGROUND-COLOR:");
        if (p != std::wstring::npos)
            SetBrush(HexColor(Trim(style.substr(p + 17))));
    } else if (StartsWith(name, L"SH")) {
        st_.shadow = true;
    } else if (name == L"U") {
        st_.font.underline = true;
    } else if (name == L"Z") {
        st_.hidden = true;
    }
    return false;
}

}  // namespace

bool DrawHtml(TCanvas* canvas,
              const std::wstring& text,
              const TRect& rect,
              const THtmlParams& params,
              THtmlResult& result) {
    result = THtmlResult{};
    Renderer r(canvas, rect, params, result);
    r.Run(text);
    return result.Hit;
}
