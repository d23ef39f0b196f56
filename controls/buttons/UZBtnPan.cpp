#include "controls/buttons/UZBtnPan.h"

#include <algorithm>
#include <numeric>

#include "base/messages/zmsg.h"

namespace {
// The message that asks whether to save the changes before the form closes.
constexpr int SaveChangesQuestion = 6;
constexpr int EndGap = 8;
}  // namespace

int ZBtnPanMinWidth(const std::vector<TZBtnPanSlot> &children)
{
    int sum = 0;
    for (const auto &c : children)
        sum += c.Width;
    return sum + 2 * static_cast<int>(children.size()) + 2 * EndGap;
}

bool ZBtnPanWidthAccepted(int width, int newWidth, const std::vector<TZBtnPanSlot> &children)
{
    return newWidth > width || newWidth >= ZBtnPanMinWidth(children);
}

std::vector<TZBtnPanSlot> ZBtnPanArrange(int width, int clientWidth, int height,
                                         const std::vector<TZBtnPanSlot> &children)
{
    std::vector<TZBtnPanSlot> placed = children;
    const size_t count = placed.size();
    if (count == 0)
        return placed;
    if (count == 1) {
        placed[0].Left = (clientWidth - placed[0].Width) / 2;
        return placed;
    }
    for (auto &c : placed)
        c.Top = (height - c.Height) / 2;
    if (count == 2) {
        placed[0].Left = EndGap;
        placed[1].Left = width - EndGap - placed[1].Width;
        return placed;
    }
    std::vector<size_t> order(count);
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return children[a].Left < children[b].Left; });
    int sum = 0;
    for (const auto &c : placed)
        sum += c.Width;
    const int gap = (clientWidth - sum - 2 * EndGap) / static_cast<int>(count - 1);
    int left = EndGap;
    for (size_t i : order) {
        placed[i].Left = left;
        left += placed[i].Width + gap;
    }
    return placed;
}

void TZBtnPanData::DoInit()
{
    initialised_ = true;
    if (OnInitData)
        OnInitData(sender_);
}

void TZBtnPanData::InitOnce(bool once)
{
    if (once && !initialised_)
        DoInit();
}

void TZBtnPanData::DoLoad()
{
    if (OnLoadData)
        OnLoadData(sender_);
    changed_ = false;
}

bool TZBtnPanData::DoCheck() { return OnCheckData ? OnCheckData(sender_) : true; }

bool TZBtnPanData::IsChanged()
{
    if (OnCheckChange && !changed_)
        changed_ = OnCheckChange(sender_);
    return changed_;
}

bool TZBtnPanData::DoSave()
{
    saved_ = false;
    bool ok = true;
    if (OnSaveData) {
        OnSaveData(ok);
        saved_ = ok;
    }
    // A failed save leaves the changes unsaved, and so still changed.
    if (ok)
        changed_ = false;
    return ok;
}

void TZBtnPanData::SetSaved(bool saved)
{
    if (saved == saved_)
        return;
    if (saved) {
        if (DoCheck())
            DoSave();
    } else {
        saved_ = false;
    }
}

void TZBtnPanData::ApplyClick(TObject *)
{
    if (DoCheck())
        DoSave();
}

void TZBtnPanData::FreshClick(TObject *) { DoLoad(); }

bool TZBtnPanData::AskToSave()
{
    if (OnOutSel)
        return OnOutSel(sender_);
    return AskQuestion(AnsiString(), SaveChangesQuestion);
}

bool TZBtnPanData::DecideClose(int &modalResult)
{
    bool canClose = true;
    if (modalResult == 1) {
        canClose = DoCheck() && DoSave();
    } else if (modalResult == 2 && closedByButton_) {
        closedByButton_ = false;
    } else if (modalResult == 0 || modalResult == 2) {
        if (IsChanged()) {
            if (AskToSave()) {
                canClose = DoCheck() && DoSave();
                if (canClose)
                    modalResult = 1;
            } else {
                changed_ = false;
                saved_ = false;
            }
        }
    }
    if (!canClose) {
        closedByButton_ = false;
        modalResult = 0;
    }
    return canClose;
}
