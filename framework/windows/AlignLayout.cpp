#include "framework/windows/AlignLayout.h"

#include <algorithm>
#include <numeric>

std::vector<TRect> LayoutAligned(const TRect &client, const std::vector<TAlignItem> &items)
{
    std::vector<TRect> out;
    out.reserve(items.size());
    for (const TAlignItem &item : items)
        out.push_back(item.Bounds);

    TRect rest = client;
    auto placeAll = [&](TAlign align, auto before, auto place) {
        std::vector<size_t> order;
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].Visible && items[i].Align == align)
                order.push_back(i);
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return before(items[a].Bounds, items[b].Bounds); });
        for (size_t i : order)
            place(out[i]);
    };
    auto clampRest = [&] {
        rest.Bottom = std::max(rest.Bottom, rest.Top);
        rest.Right = std::max(rest.Right, rest.Left);
    };

    placeAll(
        alTop, [](const TRect &a, const TRect &b) { return a.Top < b.Top; },
        [&](TRect &r) {
            int h = r.Height();
            r = Rect(rest.Left, rest.Top, rest.Right, rest.Top + h);
            rest.Top += h;
            clampRest();
        });
    placeAll(
        alBottom, [](const TRect &a, const TRect &b) { return a.Bottom > b.Bottom; },
        [&](TRect &r) {
            int h = r.Height();
            r = Rect(rest.Left, rest.Bottom - h, rest.Right, rest.Bottom);
            rest.Bottom -= h;
            clampRest();
        });
    placeAll(
        alLeft, [](const TRect &a, const TRect &b) { return a.Left < b.Left; },
        [&](TRect &r) {
            int w = r.Width();
            r = Rect(rest.Left, rest.Top, rest.Left + w, rest.Bottom);
            rest.Left += w;
            clampRest();
        });
    placeAll(
        alRight, [](const TRect &a, const TRect &b) { return a.Right > b.Right; },
        [&](TRect &r) {
            int w = r.Width();
            r = Rect(rest.Right - w, rest.Top, rest.Right, rest.Bottom);
            rest.Right -= w;
            clampRest();
        });
    placeAll(
        alClient, [](const TRect &, const TRect &) { return false; }, [&](TRect &r) { r = rest; });
    return out;
}
