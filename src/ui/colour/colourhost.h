#pragma once
// What the colour dialog may see of the main window: the working colours
// when it loads, and the colours it registers.
#include "core/face/facecolours.h"

#include <QString>

namespace tb {

class ColourHost {
public:
    virtual ~ColourHost() = default;
    virtual FaceColours workingColours() const = 0;
    // Takes the registered colours; the next tick draws with them.
    virtual void registerColours(const FaceColours &colours) = 0;
    // Tells the user something (registered colours that could not be kept).
    virtual void tell(const QString &text) { (void)text; }
};

} // namespace tb
