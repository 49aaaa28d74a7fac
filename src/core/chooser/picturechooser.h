#pragma once
// The seam between a caller and the picture chooser: the caller keeps the
// chooser's fields, writes SelMode, shows the chooser modally and reads the
// path and size tag only when pUpdated is true. Tests script a chooser.
#include <QString>

namespace tb {

struct ChooserFields {
    QString SelMode;         // "BackPic" for the world map; anything else for a clock's picture
    QString pSelectFilename; // from the chooser: the confirmed file's full path
    QString pStsize;         // both ways: size tag, set whenever a clock picture loads
    bool pUpdated = false;   // from the chooser: true only when a file was confirmed
};

class PictureChooser {
public:
    virtual ~PictureChooser() = default;
    virtual void showModal(ChooserFields &fields) = 0;
};

} // namespace tb
