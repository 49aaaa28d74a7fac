#pragma once
// The seam between the main window and the clock editor: the window writes
// the input fields, shows the editor modally, and reads the results only
// when confirmed is true. Tests replace the editor with a scripted one.
#include <QSize>
#include <QString>
#include <QtGlobal>

namespace tb {

// What the editor is shown for; None leaves its caption and lists as designed.
enum class EditMode { None, Add, Edit, Delete };

struct EditorFields {
    EditMode mode = EditMode::None;
    qint16 clockIndex = 0;  // clock being edited or deleted
    QString pictureKey;     // the clock's picture; both ways
    qint16 hours = 0;       // the zone's difference from Japan time; both ways
    qint16 minutes = 0;
    bool summerTime = false;
    QString zone;           // the place's zone id, empty for none; both ways like hours
    bool placeRules = false; // to the editor: each place's own summer time is in force
    bool confirmed = false; // from the editor: true only when confirmed
    QSize pictureTwips;     // from the editor: its picture frame's width × height in twips
};

class ClockEditor {
public:
    virtual ~ClockEditor() = default;
    // Shows the editor modally for `fields`; returns once it is closed, with
    // `fields` updated (confirmed false when cancelled).
    virtual void showModal(EditorFields &fields) = 0;
};

} // namespace tb
