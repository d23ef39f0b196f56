#pragma once
// Icon data held in memory (see IconData.h) turned into icons: one image of the data is selected,
// made into an icon and drawn into a window, or handed out as a window's own icon.
#include <cstdint>
#include <memory>
#include <vector>

#include "base/graphics/IconData.h"
#include "framework/graphics/Graphics.h"

class TWinControl;

class TAIco {
public:
    TAIco();
    // Takes the data (not copied: it must outlive the object) and selects image 0.
    TAIco(const uint8_t *data, size_t size);
    explicit TAIco(const std::vector<uint8_t> &data) : TAIco(data.data(), data.size()) {}
    TAIco(const TAIco &) = delete;
    TAIco &operator=(const TAIco &) = delete;

    // Starts over with other data and selects its image 0 when it has any.
    void SetData(const uint8_t *data, size_t size);
    // Selects an image and makes its icon; false (and nothing selected) when the data has no such
    // image or it makes no icon. The data is only read.
    bool SelectImage(int index);

    // The window that Draw without a window draws into.
    void SetWindow(TWinControl *window) { window_ = window; }
    TWinControl *Window() const { return window_; }
    // Draw the selected image; nothing when none is selected.
    void Draw(int x, int y);                         // into its window at its own size
    void Draw(int x, int y, int width, int height);  // into its window at this size
    void Draw(TWinControl *window, int x, int y);    // into this window at its own size

    int ImageCount() const { return count_; }
    int ImageIndex() const { return index_; }
    // The selected image (width, height, colour depth, header and bits); empty when none.
    const IconImage &Image() const { return image_; }
    // The selected image's icon, owned by this object (empty when none is selected).
    const TIcon &Icon() const { return icon_; }
    // The system's size of large icons.
    int SystemIconWidth() const { return systemWidth_; }
    int SystemIconHeight() const { return systemHeight_; }
    // A new icon of the selected image for the caller to own: at the system's large-icon size, or at
    // the image's own size; null when none is selected.
    std::unique_ptr<TIcon> MakeIcon(bool systemSize) const;

private:
    void DrawInto(TWinControl *window, int x, int y, int width, int height);

    TWinControl *window_ = nullptr;
    int systemWidth_ = 0, systemHeight_ = 0;
    const uint8_t *data_ = nullptr;
    size_t size_ = 0;
    int index_ = -1;
    int count_ = 0;
    IconImage image_;
    TIcon icon_;
};
