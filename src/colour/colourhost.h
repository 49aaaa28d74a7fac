#pragma once
// What the colour dialog may see of the main window: the working colours
// when it loads, and the colours it registers.
#include "face/facecolours.h"

namespace tb {

class ColourHost {
public:
    virtual ~ColourHost() = default;
    virtual FaceColours workingColours() const = 0;
    // Takes the registered colours; the next tick draws with them.
    virtual void registerColours(const FaceColours &colours) = 0;
};

} // namespace tb
