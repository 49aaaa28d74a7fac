#pragma once
// The seam between the main window and the clock editor: the window writes
// the input fields, shows the editor modally, and reads the results only
// when pUpdated is true. Tests replace the editor with a scripted one.
#include <QSize>
#include <QString>
#include <QtGlobal>

namespace tb {

// What the editor is shown for; None leaves its caption and lists as designed.
enum class EditMode { None, Add, Edit, Delete };

struct EditorFields {
    EditMode pEditMode = EditMode::None;
    qint16 pEditIndex = 0;    // clock being edited or deleted
    QString pselectKeyCode;   // picture key (Fname); both ways
    qint16 pDifTime = 0;      // hours; both ways
    qint16 pDifMinute = 0;    // minutes; both ways
    bool pSummertimeck = false;
    bool pUpdated = false;    // from the editor: true only when confirmed
    QSize imgFlagTwips;       // from the editor: its picture frame's Width × Height in twips
};

class ClockEditor {
public:
    virtual ~ClockEditor() = default;
    // Shows the editor modally for `fields`; returns once it is closed, with
    // `fields` updated (pUpdated false when cancelled).
    virtual void showModal(EditorFields &fields) = 0;
};

} // namespace tb
