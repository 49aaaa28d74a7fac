#pragma once
// The clock editor: a time zone, the summer-time box and a picture for a
// placed clock, with a preview of the clock's picture, date, time and face.
#include "core/chooser/picturechooser.h"
#include "core/editor/clockeditor.h"
#include "core/editor/zonetable.h"
#include "core/face/facecolours.h"
#include "core/time/datetime.h"
#include "core/time/zonerules.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tb {

class ClockSource;
class Messenger;
class PictureFrameWidget;
class PictureStore;

// What the editor keeps between showings.
struct ClockEditorState {
    EditMode mode = EditMode::None;
    qint16 clockIndex = 0;
    QString pictureKey;
    qint16 hours = 0;
    qint16 minutes = 0;
    bool summerTime = false;
    QString zone;            // the zone of the row last chosen, or the clock's
    bool placeRules = false; // as the main window wrote it for this showing
    bool confirmed = false;
    QString userPictureFile; // the last picture added through the chooser
    ChooserFields chooser; // the chooser's fields, kept between its showings
};

// What the editor works with, owned by the main window.
struct ClockEditorServices {
    PictureStore &store;
    ClockSource &clock;
    Messenger &messenger;
    const FaceColours &colours;
    PictureChooser &chooser;
    ZoneRules &zones;
    // Told when a user picture is removed, so placed clocks can drop it.
    std::function<void(const QString &key)> pictureRemoved;
};

// One showing of the editor. Handlers are public so tests and the developer
// entry point can drive it as a person would.
class ClockEditorWindow : public QDialog {
    Q_OBJECT
public:
    ClockEditorWindow(ClockEditorState &state, ClockEditorServices &services, QWidget *mainWindow);
    ~ClockEditorWindow() override;

    // The clock's values, as the main window writes them.
    void setClockIndex(qint16 v) { m_state.clockIndex = v; }
    void setPictureKey(const QString &name);
    void setHours(qint16 v) { m_state.hours = v; }
    void setMinutes(qint16 v) { m_state.minutes = v; }
    void setSummerTime(bool on);
    void setZone(const QString &zone) { m_state.zone = zone; }
    void setPlaceRules(bool on) { m_state.placeRules = on; }
    void setMode(EditMode mode);

    void activate();
    void drawPreview();
    // Handlers: each reads its control as the person left it (a row or a
    // name selected, the box clicked).
    void zoneChosen();
    void summerTimeToggled();
    void pictureNameChosen();
    void addUserPicture();
    void confirm();
    void removePicture();

    DateTime shownTime() const { return m_previewTime; }
    QListWidget *zoneList() const { return m_zoneList; }
    QListWidget *pictureNameList() const { return m_pictureNameList; }
    QCheckBox *summerTimeBox() const { return m_summerTimeBox; }
    // Beside the box while the place's own rules decide instead of it.
    QLabel *summerRuleNote() const { return m_summerRuleNote; }
    PictureFrameWidget *pictureFrame() const { return m_pictureFrame; }
    QLabel *dateLabel() const { return m_dateLabel; }
    QLabel *timeLabel() const { return m_timeLabel; }
    QLabel *zoneHeading() const { return m_zoneHeading; }
    QLabel *pictureHeading() const { return m_pictureHeading; }
    QPushButton *addPictureButton() const { return m_addPictureButton; }
    QPushButton *confirmButton() const { return m_confirmButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    QPushButton *removePictureButton() const { return m_removePictureButton; }

protected:
    void paintEvent(QPaintEvent *) override;
    void keyPressEvent(QKeyEvent *) override;

private:
    void buildControls();
    void fillLists();
    void nameChosen(const QString &name);
    void placeDateLabels();
    int headingTextTop() const;
    void clearPicture();
    int nameRow(const QString &name) const;
    // The held zone at `utc` while the place rules are in force and the
    // computer knows the zone: then it, not the box, gives the time.
    std::optional<ZoneReading> zoneInForce(qint64 utc);
    void updateSummerBox();

    ClockEditorState &m_state;
    ClockEditorServices &m_services;
    ZoneTable m_zones;
    QStringList m_names; // the picture name list's texts, in its order
    DateTime m_previewTime = 0;

    QLabel *m_zoneHeading = nullptr;
    QListWidget *m_zoneList = nullptr;
    QCheckBox *m_summerTimeBox = nullptr;
    QLabel *m_summerRuleNote = nullptr;
    PictureFrameWidget *m_pictureFrame = nullptr;
    QLabel *m_dateLabel = nullptr;
    QLabel *m_timeLabel = nullptr;
    QPushButton *m_addPictureButton = nullptr;
    QPushButton *m_confirmButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QLabel *m_pictureHeading = nullptr;
    QListWidget *m_pictureNameList = nullptr;
    QPushButton *m_removePictureButton = nullptr;
};

// The editor object the main window keeps for the whole run.
class ClockEditorDialog : public ClockEditor {
public:
    ClockEditorDialog(PictureStore &store, ClockSource &clock, Messenger &messenger,
            const FaceColours &colours, PictureChooser &chooser,
            std::function<void(const QString &key)> pictureRemoved = {},
            QWidget *mainWindow = nullptr);

    // Writes the properties the main window writes for the mode, shows the
    // editor and hands back the results (confirmed false when cancelled).
    void showModal(EditorFields &fields) override;

    // Runs instead of the window's own modal loop (tests, scripted runs).
    using Driver = std::function<void(ClockEditorWindow &)>;
    void setDriver(Driver driver) { m_driver = std::move(driver); }
    void setMainWindow(QWidget *w) { m_mainWindow = w; }

    const ClockEditorState &state() const { return m_state; }

private:
    ClockEditorState m_state;
    ZoneRules m_zoneRules; // before m_services, which refers to it
    ClockEditorServices m_services;
    QWidget *m_mainWindow;
    Driver m_driver;
};

} // namespace tb
