#pragma once
// The main window: the world map, the band strip of twelve clocks and the
// placed clocks with their pictures and labels. This class holds the
// lifecycle (load, layout, tick, exit) and wires the rooms together: the
// client area, the band strip, the placed clocks' controls and the menu bar.
#include "core/face/clockface.h"
#include "core/face/facecolours.h"
#include "core/model/worldmodel.h"
#include "core/layout/layout.h"
#include "ui/common/messenger.h"
#include "ui/mainwindow/bandstrip.h"
#include "ui/mainwindow/clientarea.h"
#include "ui/mainwindow/clockkeys.h"
#include "ui/mainwindow/mainmenu.h"
#include "ui/mainwindow/picturebox.h"
#include "ui/mainwindow/placedclocks.h"
#include "ui/mainwindow/placing.h"
#include "core/time/clocksource.h"

#include <QAction>
#include <QImage>
#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <vector>

class QLabel;

namespace tb {

class ClockEditor;
class PictureChooser;
class ColourDialog;
class OptionChoices;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(ClockSource &clock, Messenger &messenger, QWidget *parent = nullptr);
    ~MainWindow() override;

    // One second: the band, the placed clocks and their marks, then the
    // placing reminder. The timer runs it; tests run it at will.
    void tick();
    // Lays the map, the clocks and the band out for the client area's size.
    void layOut();
    // Gives clock i (already in the model) its picture, labels and mark.
    void addClock(int i);

    // The picture chooser serves "画像ファイルから"; without one that entry does nothing.
    void setPictureChooser(PictureChooser *chooser);
    // The clock editor that adding, editing and deleting show (not owned);
    // without one those menu entries stay disabled.
    void setClockEditor(ClockEditor *editor);

    // What the window shows, without its widgets.
    WorldModel &model() { return m_model; }
    // The layout and the rooms the window is made of.
    const MainLayout &layout() const { return m_layout; }
    ClientArea *clientArea() const { return m_client; }
    QLabel *legend() const { return m_legend; }
    QWidget *mapWidget() const { return m_mapWidget; }
    Placing *placing() const { return m_placing.get(); }
    ClockKeys *clockKeys() const { return m_keys.get(); }
    MainMenu *mainMenu() const { return m_menu; }
    PlacedClocks *placedClocks() const { return m_placed.get(); }
    BandStrip *bandStrip() const { return m_band.get(); }
    ColourDialog *colourDialog() const { return m_colourDialog; }
    // True once the exit saved the settings.
    bool saved() const { return m_saved; }
    // Sizes the window so that its client area is `twips` (the design size by default).
    void resizeClientTwips(const QSizeF &twips = QSizeF(kDesignClientWidth, kDesignClientHeight));

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The menu's entries.
    void saveAndQuit();
    void minimizeToTaskbar();
    void chooseClockSize(int index);
    void openColourDialog();
    void openHelp();

    void load();
    void stopTicking();
    void buildControls();
    void wireMenu();
    void wireModel();
    void loadSettings();
    void remindToPlace(int i);
    // The night on the map for the moment `japan`, while it is shown.
    void followSun(DateTime japan);
    void scheduleTick();
    // Client area in twips.
    QSizeF clientTwips() const;
    // The radius the placed faces are drawn with (WorldModel::faceRadius).
    qint16 faceRadius() const;

    void updateSummerPeriod();
    // The "DST" mark of clock i: placed beside its face and shown in summer;
    // updateSummerMark shows or hides it as the tick's one reading says.
    void placeSummerMark(int i);
    void placeSummerMark(int i, bool summer);
    void updateSummerMark(int i, bool summer);
    // Clock i's spot over its face; placeSummerMark places it too, as both go with the face.
    void placeSpot(int i);
    // The map's rectangle in the client area, in pixels.
    QRect mapPixels() const;

    ClockSource &m_clock;
    Messenger &m_messenger;
    ClientArea *m_client = nullptr;
    QTimer m_timer;

    WorldModel m_model;
    ColourDialog *m_colourDialog = nullptr; // lives from its first use to the end
    MainLayout m_layout;
    std::vector<FaceDrawing> m_faces; // this tick's faces, kept to spare allocations
    bool m_saved = false;
    bool m_loaded = false;

    std::unique_ptr<BandStrip> m_band;
    std::unique_ptr<PlacedClocks> m_placed;
    std::unique_ptr<Placing> m_placing;
    std::unique_ptr<ClockKeys> m_keys;
    std::unique_ptr<OptionChoices> m_options;
    MainMenu *m_menu = nullptr;
    QWidget *m_mapWidget = nullptr;
    QLabel *m_legend = nullptr;
};

} // namespace tb
