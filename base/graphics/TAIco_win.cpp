#include "base/graphics/TAIco.h"

#include "framework/windows/Forms.h"

TAIco::TAIco() : systemWidth_(Screen->SystemMetric(smCxIcon)), systemHeight_(Screen->SystemMetric(smCyIcon)) {}

TAIco::TAIco(const uint8_t *data, size_t size) : TAIco() { SetData(data, size); }

void TAIco::SetData(const uint8_t *data, size_t size)
{
    data_ = data;
    size_ = data ? size : 0;
    index_ = -1;
    image_ = IconImage();
    icon_.LoadFromImage(nullptr, 0);  // no image: lets the old icon go
    count_ = IconImageCount(data_, size_);
    if (count_ != 0)
        SelectImage(0);
}

bool TAIco::SelectImage(int index)
{
    IconImage image;
    if (!IconImageAt(data_, size_, index, image) || !icon_.LoadFromImage(image.Header, image.Bytes)) {
        index_ = -1;
        image_ = IconImage();
        icon_.LoadFromImage(nullptr, 0);
        return false;
    }
    index_ = index;
    image_ = image;
    return true;
}

std::unique_ptr<TIcon> TAIco::MakeIcon(bool systemSize) const
{
    if (index_ < 0)
        return nullptr;
    auto icon = std::make_unique<TIcon>();
    if (!icon->LoadFromImage(image_.Header, image_.Bytes, systemSize ? systemWidth_ : 0,
                             systemSize ? systemHeight_ : 0))
        return nullptr;
    return icon;
}

void TAIco::DrawInto(TWinControl *window, int x, int y, int width, int height)
{
    if (icon_.Empty() || !window)
        return;
    TControlCanvas canvas(window);
    icon_.Draw(canvas, x, y, width, height);
}

void TAIco::Draw(int x, int y) { DrawInto(window_, x, y, 0, 0); }
void TAIco::Draw(int x, int y, int width, int height) { DrawInto(window_, x, y, width, height); }
void TAIco::Draw(TWinControl *window, int x, int y) { DrawInto(window, x, y, 0, 0); }
