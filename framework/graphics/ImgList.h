#pragma once
// A list of same-sized images (16 x 16 by default) drawn by index, normal or greyed for a disabled
// state.
#include "framework/runtime/Component.h"
#include "framework/graphics/Graphics.h"

struct _IMAGELIST;

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent *owner, int width = 16, int height = 16);
    ~TImageList() override;
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const;
    // Cuts a strip (images side by side) into images; pixels of the mask colour stay transparent.
    // Returns the index of the first image added.
    int AddMasked(TBitmap &strip, TColor maskColor);
    // Adds an icon (its alpha channel kept) at the list's size; the index it got, or -1 when the icon
    // is empty.
    int AddIcon(const TIcon &icon);
    // The same from a bitmap resource of the program; -1 when there is no such resource.
    int LoadFromResourceID(int id, TColor maskColor);
    void Clear();
    // Draws an image; a disabled one is drawn greyed. An index outside the list draws nothing.
    void Draw(TCanvas &canvas, int x, int y, int index, bool enabled = true) const;

private:
    int width_, height_;
    _IMAGELIST *list_ = nullptr;
};
