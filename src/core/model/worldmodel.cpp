#include "core/model/worldmodel.h"

namespace tb {

WorldModel::WorldModel(QObject *parent) : QObject(parent) {}

void WorldModel::setColours(const FaceColours &colours)
{
    const bool same = colours.FaceColors == m_colours.FaceColors && colours.GageColor == m_colours.GageColor
        && colours.NeadleColor == m_colours.NeadleColor;
    m_colours = colours;
    if (!same)
        emit coloursChanged();
}

void WorldModel::setClockRadius(qint16 radius)
{
    if (radius == m_clockRadius)
        return;
    m_clockRadius = radius;
    emit clockRadiusChanged();
}

void WorldModel::setSummerPeriod(const SummerPeriod &period)
{
    const bool same = period.start == m_summer.start && period.end == m_summer.end && period.year == m_summer.year;
    m_summer = period;
    if (!same)
        emit summerPeriodChanged();
}

} // namespace tb
