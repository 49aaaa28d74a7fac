#pragma once
// The seam between a caller and the picture chooser: the caller keeps the
// chooser's fields, sets the purpose, shows the chooser modally and reads the
// path and size tag only when confirmed is true. Tests script a chooser.
#include <QString>

namespace tb {

// A map picture has no size on the map to preview and keeps the size tag.
enum class ChooserPurpose { ClockPicture, WorldMap };

struct ChooserFields {
    ChooserPurpose purpose = ChooserPurpose::ClockPicture;
    QString chosenPath;     // from the chooser: the confirmed file's full path
    QString sizeTag;        // both ways: size tag, set whenever a clock picture loads
    bool confirmed = false; // from the chooser: true only when a file was confirmed
};

class PictureChooser {
public:
    virtual ~PictureChooser() = default;
    virtual void showModal(ChooserFields &fields) = 0;
};

} // namespace tb
