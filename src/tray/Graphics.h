#pragma once

#include "base/TComponent.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// A platform picture (an icon handle on Windows). Pictures never change once made, so icons and
// image lists share them instead of copying pixels.
class TIconImage {
public:
    virtual ~TIconImage() = default;
    virtual std::uintptr_t Handle() const = 0;
};

using TIconImagePtr = std::shared_ptr<const TIconImage>;

class TIcon {
public:
    TIcon() = default;
    explicit TIcon(TIconImagePtr Image) : FImage(std::move(Image)) {}

    bool Empty() const { return !FImage; }
    // 0 when empty.
    std::uintptr_t Handle() const { return FImage ? FImage->Handle() : 0; }
    const TIconImagePtr& Image() const { return FImage; }
    void Assign(const TIcon& Source) { FImage = Source.FImage; }

private:
    TIconImagePtr FImage;
};

// A list of pictures picked by index.
class TImageList : public TComponent {
public:
    using TComponent::TComponent;

    int Count() const { return static_cast<int>(FImages.size()); }
    void Add(const TIcon& Icon) { FImages.push_back(Icon.Image()); }
    void Clear() { FImages.clear(); }
    // Puts image Index into Icon; false (Icon untouched) when there is no such image.
    bool GetIcon(int Index, TIcon& Icon) const {
        if (Index < 0 || Index >= Count())
            return false;
        Icon = TIcon(FImages[static_cast<std::size_t>(Index)]);
        return true;
    }

private:
    std::vector<TIconImagePtr> FImages;
};
