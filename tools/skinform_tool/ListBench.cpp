// skinform_tool listbench: a 10,000-row owner-data report view on a shown form is paged from top to bottom through
// its external vertical bar (the bar's change scrolls the view, whose paint copies the state back into the bar), then
// the same pages again by LVM_SCROLL alone. Each step is timed up to the end of its synchronous repaint; the median
// and the worst step of both ways and the ratio of the medians are printed (goal: within 1.5).
#include "ListBench.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/views/SkinListView.h"

namespace {

double Ms(const LARGE_INTEGER& a, const LARGE_INTEGER& b, const LARGE_INTEGER& f) {
    return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

struct TStats {
    double Median = 0, Worst = 0;
};

TStats StatsOf(std::vector<double> t) {
    if (t.empty())
        return {};
    std::sort(t.begin(), t.end());
    return {t[t.size() / 2], t.back()};
}

void Drain() {
    Application->ProcessMessages();
}

}  // namespace

int ListBench() {
    constexpr int kRows = 10000;
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 460, 330);
    form->SetCaption(L"listbench");
    auto* view = new TbsSkinListView(form.get());
    view->SetParent(form.get());
    view->SetViewStyle(vsReport);
    view->SetOwnerData(true);
    view->SetRowSelect(true);
    view->SetBounds(8, 8, 400, 280);
    for (int w : {120, 120, 120})
        view->Columns()->Add()->SetWidth(w);
    view->OnData = [](TObject*, TListItem* item) {
        item->SetCaption(L"Письмо " + std::to_wstring(item->Index()));
        item->SubItems()->Add(L"отправитель@почта.рф");
        item->SubItems()->Add(L"тема " + std::to_wstring(item->Index() * 7));
    };
    view->Items()->SetCount(kRows);
    auto* bar = new TbsSkinScrollBar(form.get());
    bar->SetParent(form.get());
    bar->SetKind(sbVertical);
    bar->SetBounds(410, 8, 17, 280);
    view->SetVScrollBar(bar);
    form->Show();
    for (int i = 0; i < 20; ++i)
        Drain();
    view->UpDateScrollBars();
    if (!bar->Visible()) {
        std::fprintf(stderr, "the bar did not show\n");
        return 1;
    }
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    const HWND wnd = view->Handle();
    const int page = bar->LargeChange();
    std::vector<double> byBar, byScroll;
    const int last = bar->Max() - bar->PageSize() + 1;
    while (bar->Position() < last) {
        const int before = bar->Position();
        QueryPerformanceCounter(&t0);
        bar->SetPosition(before + page);
        UpdateWindow(wnd);
        QueryPerformanceCounter(&t1);
        byBar.push_back(Ms(t0, t1, f));
        Drain();
        if (bar->Position() <= before)
            break;  // the view went no further
    }
    const int reachedByBar = static_cast<int>(SendMessageW(wnd, LVM_GETTOPINDEX, 0, 0));
    SendMessageW(wnd, LVM_ENSUREVISIBLE, 0, FALSE);
    UpdateWindow(wnd);
    Drain();
    RECT r{};
    r.left = LVIR_BOUNDS;
    SendMessageW(wnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    const int rowH = std::max(1, static_cast<int>(r.bottom - r.top));
    for (size_t i = 0; i < byBar.size(); ++i) {
        QueryPerformanceCounter(&t0);
        SendMessageW(wnd, LVM_SCROLL, 0, page * rowH);
        UpdateWindow(wnd);
        QueryPerformanceCounter(&t1);
        byScroll.push_back(Ms(t0, t1, f));
        Drain();
    }
    const int reachedByScroll = static_cast<int>(SendMessageW(wnd, LVM_GETTOPINDEX, 0, 0));
    const TStats a = StatsOf(byBar), b = StatsOf(byScroll);
    std::printf("%d rows, %zu pages of %d rows; top row reached: bar %d, LVM_SCROLL %d\n", kRows, byBar.size(), page,
                reachedByBar, reachedByScroll);
    std::printf("%-32s median %7.3f ms  worst %7.3f ms\n", "page through the external bar", a.Median, a.Worst);
    std::printf("%-32s median %7.3f ms  worst %7.3f ms\n", "page by LVM_SCROLL alone", b.Median, b.Worst);
    const double ratio = b.Median > 0 ? a.Median / b.Median : 0;
    std::printf("  ratio of medians bar / LVM_SCROLL: %.2f (goal <= 1.5: %s)\n", ratio, ratio <= 1.5 ? "met" : "missed");
    return 0;
}
