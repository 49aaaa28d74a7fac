#pragma once
// What the main window shows, held without a widget: the placed clocks, the
// colours and radius of their faces, the summer period and rule, the
// pictures, the map chosen in the menu, whether night is shown on it and the
// border round the pictures.
// Settings load into it and save from it; the window's rooms read it and
// change it. A setter says what changed only when the value did.
#include "core/editor/picturestore.h"
#include "core/face/facecolours.h"
#include "core/time/clocktable.h"
#include "core/time/summertime.h"
#include "core/time/zonerules.h"

#include <QObject>

namespace tb {

class WorldModel : public QObject {
    Q_OBJECT
public:
    explicit WorldModel(QObject *parent = nullptr);

    // The placed clocks, 0 … lastClock().
    ClockTable &clocks() { return m_clocks; }
    const ClockTable &clocks() const { return m_clocks; }
    const ClockEntry &clock(int i) const { return m_clocks[i]; }
    int lastClock() const { return m_clocks.lastIndex(); }

    const FaceColours &colours() const { return m_colours; }
    void setColours(const FaceColours &colours);

    // "ClockRc": the radius of the placed faces in twips; 0 until a size is chosen.
    qint16 clockRadius() const { return m_clockRadius; }
    void setClockRadius(qint16 radius);
    // The radius the placed faces are drawn with: clockRadius(), or the
    // band's while clockRadius() is still 0.
    qint16 faceRadius(qint16 bandRadius) const { return m_clockRadius != 0 ? m_clockRadius : bandRadius; }

    const SummerPeriod &summerPeriod() const { return m_summer; }
    void setSummerPeriod(const SummerPeriod &period);

    // "SummerRule": the common period for every clock, or each place's own.
    SummerRule summerRule() const { return m_summerRule; }
    void setSummerRule(SummerRule rule);
    // Chosen in the menu: kept at once, like the map; false when the file
    // could not be written (the rule holds all the same until the exit).
    bool storeSummerRule(SummerRule rule);
    // What clock i shows at `now` under the rule, and whether its mark is up.
    ShownTime shownTime(int i, const Moment &now) const;
    // Zones of clocks shown since the last call that the computer does not know.
    QStringList takeUnknownZones() { return m_zones.takeUnknown(); }

    PictureStore &pictures() { return m_pictures; }
    const PictureStore &pictures() const { return m_pictures; }
    // A user picture left the store: every clock showing it keeps its place
    // without a picture (pictureDropped for each).
    void dropPicture(const QString &key);

    // "WorldMap" as the menu knows it: 1 … 7 a built-in map, 8 the user's
    // file; any other number (0 before the first choice) is no entry.
    int mapChoice() const { return m_mapChoice; }
    void setMapChoice(int index);
    // "WorldMapFile": the user's map file; read only while the choice is 8.
    const QString &mapFile() const { return m_mapFile; }
    void setMapFile(const QString &file);
    // A choice from the menu is kept in the settings file at once; the caller
    // groups the writes (SettingsWriteGroup) and tells the user when they failed.
    void storeMapChoice(int index);
    void storeMapFile(const QString &file);

    // "昼と夜を表示": the map's night side darkened. Read with the display
    // settings; a choice from the menu is kept at once (the caller tells the
    // user when it could not be).
    bool dayNight() const { return m_dayNight; }
    void setDayNight(bool on);
    void storeDayNight(bool on);

    // "イラストの境界線": a line round every placed picture. Not kept.
    bool pictureBorder() const { return m_pictureBorder; }
    void setPictureBorder(bool on);

    // The settings file: the face colours and the radius (returns the band's
    // radius), the placed clocks (a first start stores clock 0), and all of
    // it again on exit (false when it could not be written).
    qint16 loadDisplay();
    void loadClocks();
    bool saveOnExit(qint16 bandRadius, QString *errorFile) const;

signals:
    void coloursChanged();
    void clockRadiusChanged();
    void summerPeriodChanged();
    void summerRuleChanged();
    void mapChoiceChanged();
    void mapFileChanged();
    void pictureBorderChanged();
    void dayNightChanged();
    void pictureDropped(int clock);

private:
    ClockTable m_clocks;
    FaceColours m_colours;
    qint16 m_clockRadius = 440;
    SummerPeriod m_summer;
    SummerRule m_summerRule = SummerRule::Common;
    mutable ZoneRules m_zones; // a cache of the database's answers
    PictureStore m_pictures;
    int m_mapChoice = 0;
    QString m_mapFile;
    bool m_pictureBorder = false;
    bool m_dayNight = false;
};

} // namespace tb
