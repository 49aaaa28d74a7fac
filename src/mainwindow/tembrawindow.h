#pragma once
// The main window: the world map, the band strip of twelve clocks and the
// placed clocks with their pictures and labels.
#include "editor/picturestore.h"
#include "face/clockface.h"
#include "face/facecolours.h"
#include "mainwindow/layout.h"
#include "mainwindow/messenger.h"
#include "time/clockentry.h"
#include "time/clocksource.h"
#include "time/summertime.h"

#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QTimer>
#include <array>
#include <vector>

class QAction;
class QFrame;
class QPushButton;

namespace tb {

class ClientArea;

// A picture frame: a label that shows its picture at its own size or
// stretched to the frame.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent);
    void setStretch(bool on);
    bool stretch() const { return m_stretch; }
    void setPicture(const QImage &image); // a null image clears it
    void setFrameSize(const QSize &px);  // only meaningful with stretch on
    bool hasPicture() const { return !m_image.isNull(); }

private:
    void refit();
    bool m_stretch = false;
    QImage m_image;
};

class tembra : public QMainWindow {
    Q_OBJECT
public:
    tembra(ClockSource &clock, Messenger &messenger, QWidget *parent = nullptr);
    ~tembra() override;

    // Event handlers.
    void Form_Load();
    void Form_Resize();
    void Timer1_Timer();
    void Form_Unload();
    void endMenu_Click();
    void toTask_Click();
    void ccsize_Click(int index);
    void wMap_Click(int index);
    void Setoption_Click();
    void BorderStyleYes_Click();
    void BorderStyleNo_Click();

    // Time of placed clock i and band clock k; summer hour of clock i.
    DateTime clockTime(int i) const;
    DateTime bandTime(int k) const;
    int summer(int i) const;
    void MakeSummerStartEndDate();
    void setDSTpos(int i);
    void DSTCheck(int i);
    void addClock(int i);

    float cxByR(float xx) const { return m_layout.cxByR(xx); }
    float cyByR(float yy) const { return m_layout.cyByR(yy); }

    // State, read by tests and the other parts of the window.
    int CountryCount() const { return m_countryCount; }
    const ClockEntry &entry(int i) const { return m_entries[size_t(i)]; }
    ClockEntries &entries() { return m_entries; }
    const MainLayout &layout() const { return m_layout; }
    qint16 BandRadius() const { return m_layout.BandRadius; }
    qint16 ClockRadius() const { return m_clockRadius; }
    const FaceColours &colours() const { return m_colours; }
    const SummerPeriod &summerPeriod() const { return m_summer; }
    const PictureStore &pictures() const { return m_pictures; }
    const QImage &surface() const { return m_surface; }
    const QImage &mapPicture() const { return m_map; }
    QWidget *clientArea() const;
    QLabel *bandLabel(int index) const { return m_label1[size_t(index)]; }
    QLabel *labelDate(int i) const { return m_labelDate[size_t(i)]; }
    QLabel *labelTime(int i) const { return m_labelTime[size_t(i)]; }
    QLabel *dstLabel(int i) const { return m_dst[size_t(i)]; }
    PictureBox *imgBox(int i) const { return m_imgBox[size_t(i)]; }
    QLabel *legend() const { return m_label3; }
    QFrame *frame1() const { return m_frame1; }
    QAction *endAction() const { return m_endMenu; }
    bool saved() const { return m_saved; }

    // Client area in twips and the outer window size the layout works with.
    QSizeF clientTwips() const;
    // Sizes the window so that its client area is `twips` (the design size by default).
    void resizeClientTwips(const QSizeF &twips = QSizeF(kDesignClientWidth, kDesignClientHeight));

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    friend class ClientArea;
    void buildControls();
    void buildMenus();
    void loadSettings();
    void setMapPicture(const QImage &image);
    void clearSurface();
    void drawFace(QPainter &painter, double x, double y, DateTime p, qint16 ccR, QRegion &dirty);
    void placingReminder(int i);
    void placeLabelUnderPicture(int i);
    void setLabelText(QLabel *label, const QString &text);
    void scheduleTick();

    ClockSource &m_clock;
    Messenger &m_messenger;
    ClientArea *m_client = nullptr;
    QTimer m_timer;

    ClockEntries m_entries{};
    int m_countryCount = 0;
    qint16 m_clockRadius = 440;
    FaceColours m_colours;
    SummerPeriod m_summer;
    MainLayout m_layout;
    PictureStore m_pictures;
    QImage m_map;
    QImage m_surface;
    int m_reminderCount = 0;
    bool m_saved = false;
    bool m_loaded = false;

    std::array<QLabel *, 24> m_label1{};
    std::vector<QLabel *> m_labelDate, m_labelTime, m_dst;
    std::vector<PictureBox *> m_imgBox;
    QWidget *m_image1 = nullptr;
    QLabel *m_label3 = nullptr;
    QFrame *m_frame1 = nullptr;
    QPushButton *m_comFrame = nullptr;
    QLabel *m_labelCoution = nullptr;

    QAction *m_endMenu = nullptr;
    std::array<QAction *, 9> m_wMap{};
    std::array<QAction *, 6> m_ccsize{};
    QAction *m_borderYes = nullptr;
    QAction *m_borderNo = nullptr;
};

// Paints the map picture (scaled once per size) and the drawing surface;
// every picture and label is a child above them.
class ClientArea : public QWidget {
    Q_OBJECT
public:
    explicit ClientArea(tembra *owner);
    void invalidateMap() { m_scaled = QPixmap(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    tembra *m_owner;
    QPixmap m_scaled;
};

} // namespace tb
