#pragma once
// Placing clocks on the map: the menu's add, edit and delete steps, the
// clock mode with its bar (modeBar), dragging faces with the red
// circle and pictures with their labels, and the placing reminder. The mouse
// of the map's own widget and of every picture and label comes here through
// event filters. Positions are changed in the model (a dragged picture's as
// it moves, a face's where it is dropped); what the window must show again is
// said through the signals.
#include "core/window/placingrules.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <optional>

class QFont;
class QFrame;
class QLabel;
class QPushButton;
class QShortcut;
class QWidget;

namespace tb {

class ClientArea;
class ClockEditor;
class Messenger;
class PlacedClocks;
class WorldModel;

class Placing : public QObject {
    Q_OBJECT
public:
    // `layout` is the window's, read as it changes.
    Placing(WorldModel &model, const MainLayout &layout, ClientArea *area, QWidget *mapWidget,
            PlacedClocks &placed, Messenger &messenger, const QFont &font);
    ~Placing() override;

    // The editor the add, edit and delete steps show; none (nullptr) makes
    // them do nothing. Not owned.
    void setClockEditor(ClockEditor *editor) { m_editor = editor; }
    ClockEditor *clockEditor() const { return m_editor; }

    // Takes the mouse of clock i's picture and labels (once they exist).
    void watch(int i);
    // The bar stands right-aligned with the map.
    void placeBar(const MainLayout &layout);

    // Event handlers. Pointer positions are twips: relative to the map for
    // the map's widget, relative to the pressed picture or label for a
    // picture (a label passes its own position on unchanged).
    void chooseMode(int index); // 1 add, 2 edit, 3 delete
    void cancelMode();
    void mapPressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
    void mapMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, double x, double y);
    void mapReleased(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);
    void picturePressed(int index, Qt::MouseButton button, Qt::KeyboardModifiers shift, double x,
                          double y);
    void pictureMoved(int index, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift,
                          double x, double y);
    void pictureReleased(int index, Qt::MouseButton button, Qt::KeyboardModifiers shift, double x,
                        double y);
    void editOrDelete(int i);
    void deleteClock(int i);
    // From the keyboard: clock i picked for the editor in `mode` (as a click
    // does while the bar asks), or moved by `step` pixels, face and picture
    // together, never further off the map.
    void pickClock(int i, EditMode mode);
    void moveClock(int i, QPoint step);
    // Run by the tick for clock i after its mark was checked.
    void remindToPlace(int i);

    EditMode clockMode() const { return m_clockMode; }
    bool dragging() const { return m_dragging; }
    std::optional<int> pickedClock() const { return m_pickedClock; }
    const PlacingReminder &reminder() const { return m_reminder; }
    QWidget *redCircle() const { return m_redCircle; }
    QFrame *modeBar() const { return m_modeBar; }
    QPushButton *cancelModeButton() const { return m_cancelModeButton; }
    QLabel *modeHint() const { return m_modeHint; }

signals:
    // Clock i was appended to the model: it wants its controls.
    void clockAdded(int i);
    // The face of clock i is elsewhere now (dragged, or moved down a place).
    void faceMoved(int i);
    // The faces are to be drawn again at once.
    void redrawRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showBar(bool on);
    // The editor, told which summer rule is in force.
    void showEditor(EditorFields &f);
    // Which clock a picture or label belongs to; -1 for none.
    int ownerOf(const QObject *control) const;
    // Clear the drawn faces and draw them all again at once.
    void redrawFaces();
    // Ends a drag before a message opens in the middle of it.
    void endDragForMessage();

    WorldModel &m_model;
    const MainLayout &m_layout;
    ClientArea *m_area;
    QWidget *m_mapWidget;
    PlacedClocks &m_placed;
    Messenger &m_messenger;
    ClockEditor *m_editor = nullptr;

    EditMode m_clockMode = EditMode::None;
    bool m_dragging = false;
    std::optional<int> m_pickedClock; // the face the last press on the map hit
    FaceDrag m_faceDrag;
    PictureDrag m_pictureDrag;
    PlacingReminder m_reminder;
    bool m_reminderShowing = false;

    QWidget *m_redCircle = nullptr;
    QFrame *m_modeBar = nullptr;
    QPushButton *m_cancelModeButton = nullptr;
    QLabel *m_modeHint = nullptr;
    QShortcut *m_escape = nullptr;
};

} // namespace tb
