#include "core/model/worldmodel.h"

#include "core/editor/editorrules.h"
#include "core/settings/schema.h"
#include "core/settings/settingkeys.h"
#include "core/settings/settingsstore.h"

namespace tb {

WorldModel::WorldModel(QObject *parent) : QObject(parent) {}

void WorldModel::setColours(const FaceColours &colours)
{
    const bool same = colours.fills == m_colours.fills && colours.scaleColour == m_colours.scaleColour
        && colours.handColour == m_colours.handColour;
    m_colours = colours;
    if (!same)
        emit coloursChanged();
}

void WorldModel::dropPicture(const QString &key)
{
    for (int i : dropRemovedPicture(m_clocks.entries(), lastClock(), key))
        emit pictureDropped(i);
}

void WorldModel::setClockRadius(qint16 radius)
{
    if (radius == m_clockRadius)
        return;
    m_clockRadius = radius;
    emit clockRadiusChanged();
}

qint16 WorldModel::loadDisplay()
{
    const DisplaySettings display = loadDisplaySettings();
    setColours(display.colours);
    setClockRadius(display.clockRadius);
    setSummerRule(readSummerRule());
    setDayNight(readDayNight());
    return display.bandRadius;
}

void WorldModel::loadClocks()
{
    if (const std::optional<int> n = readLastClockIndex()) {
        m_clocks.setLastIndex(*n);
    } else {
        m_clocks.setLastIndex(0);
        m_clocks[0] = defaultClockEntry();
        writeClock(0, m_clocks[0]);
    }
    for (int i = 0; i <= lastClock(); ++i)
        readClock(i, m_clocks[i]);
}

bool WorldModel::saveOnExit(qint16 bandRadius, QString *errorFile) const
{
    DisplaySettings display;
    display.colours = m_colours;
    display.bandRadius = bandRadius;
    display.clockRadius = m_clockRadius;
    return saveAllSettings(m_clocks.entries(), lastClock(), display, errorFile);
}

void WorldModel::setSummerPeriod(const SummerPeriod &period)
{
    const bool same = period.start == m_summer.start && period.end == m_summer.end && period.year == m_summer.year;
    m_summer = period;
    if (!same)
        emit summerPeriodChanged();
}

void WorldModel::setSummerRule(SummerRule rule)
{
    if (rule == m_summerRule)
        return;
    m_summerRule = rule;
    emit summerRuleChanged();
}

bool WorldModel::storeSummerRule(SummerRule rule)
{
    SettingsWriteGroup group;
    writeSummerRule(rule);
    // Stored before the clocks move, so that no message of theirs holds the write back.
    const bool stored = group.end();
    setSummerRule(rule);
    return stored;
}

ShownTime WorldModel::shownTime(int i, const Moment &now) const
{
    return tb::shownTime(m_clocks[i], now, m_summerRule, m_summer, m_zones);
}

void WorldModel::setMapChoice(int index)
{
    if (index == m_mapChoice)
        return;
    m_mapChoice = index;
    emit mapChoiceChanged();
}

void WorldModel::setMapFile(const QString &file)
{
    if (file == m_mapFile)
        return;
    m_mapFile = file;
    emit mapFileChanged();
}

void WorldModel::storeMapChoice(int index)
{
    writeSettingNumber(keys::kWorldMap, index);
    setMapChoice(index);
}

void WorldModel::storeMapFile(const QString &file)
{
    writeSetting(keys::kWorldMapFile, file);
    setMapFile(file);
}

void WorldModel::setPictureBorder(bool on)
{
    if (on == m_pictureBorder)
        return;
    m_pictureBorder = on;
    emit pictureBorderChanged();
}

void WorldModel::setDayNight(bool on)
{
    if (on == m_dayNight)
        return;
    m_dayNight = on;
    emit dayNightChanged();
}

void WorldModel::storeDayNight(bool on)
{
    writeDayNight(on);
    setDayNight(on);
}

} // namespace tb
