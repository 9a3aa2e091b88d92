// A picture as the button's platform-neutral parts know it: its size, and its pixels for the saved
// property set. The Win32 side derives the images it draws (bitmaps, icons).
#pragma once

#include "controls/host/property_value.h"

#include <memory>

namespace skinbutton {

class ButtonPicture {
public:
    virtual ~ButtonPicture() = default;
    virtual int Width() const = 0;  // pixels
    virtual int Height() const = 0; // pixels
    // What a saved set keeps of it; none for a picture without a pixel form (an icon).
    virtual host::Picture Pixels() const { return {}; }
};

// Null is "no picture".
using PictureRef = std::shared_ptr<const ButtonPicture>;

} // namespace skinbutton
