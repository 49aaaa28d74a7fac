#include "core/settings/settingkeys.h"

#include "core/common/valuetext.h"
#include "core/settings/settingsstore.h"

#include <cmath>

namespace tb {

namespace {

QString sectionOf(const SettingKey &row, const SettingPlace &place)
{
    return row.section ? QString::fromLatin1(row.section) : place.section;
}

QString keyOf(const SettingKey &row, const SettingPlace &place)
{
    return place.slot + QString::fromLatin1(row.key);
}

qint64 low(const SettingKey &row) { return qint64(row.low); }
qint64 high(const SettingKey &row) { return qint64(row.high); }

} // namespace

QString readSetting(const SettingKey &row, const SettingPlace &place)
{
    const QString fallback = row.fallback[0] ? QString::fromLatin1(row.fallback) : QString();
    return valueOrStoreFallback(sectionOf(row, place), keyOf(row, place), fallback);
}

QString peekSetting(const SettingKey &row, const SettingPlace &place)
{
    return appSettings().value(sectionOf(row, place), keyOf(row, place));
}

void removeSetting(const SettingKey &row, const SettingPlace &place)
{
    appSettings().remove(sectionOf(row, place), keyOf(row, place));
}

double settingNumber(const SettingKey &row, const QString &text)
{
    switch (row.kind) {
    case SettingKind::Colour:
    case SettingKind::Number:
        return double(roundedClamp(numericValue(text).value_or(0.0), low(row), high(row)));
    case SettingKind::LeadingNumber:
        return double(roundedClamp(leadingNumber(text), low(row), high(row)));
    case SettingKind::Position: {
        const double v = numericValue(text).value_or(0.0);
        return std::isnan(v) ? 0.0 : double(float(qBound(row.low, v, row.high)));
    }
    case SettingKind::Flag:
        return boolValue(text) ? 1 : 0;
    case SettingKind::Text:
        break;
    }
    return 0;
}

double readSettingNumber(const SettingKey &row, const SettingPlace &place)
{
    return settingNumber(row, readSetting(row, place));
}

void writeSetting(const SettingKey &row, const QString &text, const SettingPlace &place)
{
    appSettings().setValue(sectionOf(row, place), keyOf(row, place), text);
}

void writeSettingNumber(const SettingKey &row, double value, const SettingPlace &place)
{
    QString text;
    switch (row.kind) {
    case SettingKind::Position:
        text = singleText(float(value));
        break;
    case SettingKind::Flag:
        text = boolText(value != 0);
        break;
    default:
        text = intText(qint64(value));
        break;
    }
    writeSetting(row, text, place);
}

} // namespace tb
