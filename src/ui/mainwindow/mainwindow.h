#pragma once
// The main window: the world map, the band strip of twelve clocks and the
// placed clocks with their pictures and labels. This class holds the
// lifecycle (load, layout, tick, exit) and wires the rooms together: the
// client area, the band strip, the placed clocks' controls and the menu bar.
#include "ui/colour/colourhost.h"
#include "core/face/clockface.h"
#include "core/face/facecolours.h"
#include "core/model/worldmodel.h"
#include "core/layout/layout.h"
#include "ui/common/messenger.h"
#include "ui/mainwindow/picturebox.h"
#include "core/time/clocksource.h"

#include <QImage>
#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <vector>

class QAction;
class QFrame;
class QLabel;

namespace tb {

class BandStrip;
class ClientArea;
class ClockEditor;
class PictureChooser;
class ColourDialog;
class MainMenu;
class PlacedClocks;
class Placing;

class MainWindow : public QMainWindow, public ColourHost {
    Q_OBJECT
public:
    MainWindow(ClockSource &clock, Messenger &messenger, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Event handlers.
    void load();
    void layOut();
    void tick();
    void stopTicking();
    void saveAndQuit();
    void minimizeToTaskbar();
    void chooseClockSize(int index);
    void chooseMap(int index);
    void refreshOptionsMenu();
    void showBorders();
    void hideBorders();
    void openColourDialog();
    // The picture chooser serves "画像ファイルから"; without one that entry does nothing.
    void setPictureChooser(PictureChooser *chooser) { m_chooser = chooser; }
    void openHelp();

    // The clock editor that adding, editing and deleting show (not owned);
    // without one those menu entries stay disabled.
    void setClockEditor(ClockEditor *editor);
    // A user picture was removed from the store: every clock showing it
    // keeps its place without a picture.
    void pictureRemoved(const QString &key);

    // What the colour dialog sees of the window: the next tick draws with
    // the registered colours.
    FaceColours workingColours() const override { return m_model.colours(); }
    void registerColours(const FaceColours &colours) override { m_model.setColours(colours); }
    void tell(const QString &text) override;
    ColourDialog *colourDialog() const { return m_colourDialog; }

    // Time of placed clock i and band clock k; summer hour of clock i.
    DateTime clockTime(int i) const;
    DateTime bandTime(int k) const;
    int summer(int i) const;
    // `local`: the computer's own date and time (Moment::local).
    int summer(int i, DateTime local) const;
    void updateSummerPeriod();
    // The "DST" mark of clock i: placed beside its face and shown in summer;
    // updateSummerMark shows or hides it for the moment `local` (one reading per tick).
    void placeSummerMark(int i);
    void placeSummerMark(int i, DateTime local);
    void updateSummerMark(int i);
    void updateSummerMark(int i, DateTime local);
    void addClock(int i);

    float cxByR(float xx) const { return m_layout.cxByR(xx); }
    float cyByR(float yy) const { return m_layout.cyByR(yy); }

    // What the window shows, without its widgets.
    WorldModel &model() { return m_model; }
    // State, read by tests and the other parts of the window.
    int CountryCount() const { return m_model.clocks().CountryCount(); }
    const ClockEntry &entry(int i) const { return m_model.clocks()[i]; }
    ClockEntries &entries() { return m_model.clocks().entries(); }
    ClockTable &clockTable() { return m_model.clocks(); }
    const MainLayout &layout() const { return m_layout; }
    qint16 BandRadius() const { return m_layout.BandRadius; }
    qint16 ClockRadius() const { return m_model.clockRadius(); }
    const FaceColours &colours() const { return m_model.colours(); }
    const SummerPeriod &summerPeriod() const { return m_model.summerPeriod(); }
    const PictureStore &pictures() const { return m_model.pictures(); }
    PictureStore &pictureStore() { return m_model.pictures(); }
    const QImage &surface() const;
    const QImage &mapPicture() const;
    QWidget *clientArea() const;
    QLabel *bandLabel(int index) const;
    QLabel *labelDate(int i) const;
    QLabel *labelTime(int i) const;
    QLabel *dstLabel(int i) const;
    PictureBox *imgBox(int i) const;
    QLabel *legend() const { return m_label3; }
    QFrame *frame1() const;
    QWidget *image1() const { return m_image1; }
    Placing *placing() const { return m_placing.get(); }
    QAction *endAction() const;
    MainMenu *mainMenu() const { return m_menu; }
    PlacedClocks *placedClocks() const { return m_placed.get(); }
    BandStrip *bandStrip() const { return m_band.get(); }
    bool saved() const { return m_saved; }
    // The radius the placed faces are drawn with: ClockRadius, or the band
    // radius while ClockRadius is still 0.
    qint16 faceRadius() const;

    // Client area in twips and the outer window size the layout works with.
    QSizeF clientTwips() const;
    // Sizes the window so that its client area is `twips` (the design size by default).
    void resizeClientTwips(const QSizeF &twips = QSizeF(kDesignClientWidth, kDesignClientHeight));

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    void wireMenu();
    void loadSettings();
    void setMapPicture(const QImage &image);
    bool mapFromFile();
    void placingReminder(int i);
    void scheduleTick();

    ClockSource &m_clock;
    Messenger &m_messenger;
    ClientArea *m_client = nullptr;
    QTimer m_timer;

    WorldModel m_model;
    ColourDialog *m_colourDialog = nullptr; // lives from its first use to the end
    PictureChooser *m_chooser = nullptr;
    MainLayout m_layout;
    std::vector<FaceDrawing> m_faces; // this tick's faces, kept to spare allocations
    bool m_saved = false;
    bool m_loaded = false;

    std::unique_ptr<BandStrip> m_band;
    std::unique_ptr<PlacedClocks> m_placed;
    std::unique_ptr<Placing> m_placing;
    MainMenu *m_menu = nullptr;
    QWidget *m_image1 = nullptr;
    QLabel *m_label3 = nullptr;
};

} // namespace tb
