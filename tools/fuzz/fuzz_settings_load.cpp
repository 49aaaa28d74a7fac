// libFuzzer target: any bytes as the settings file, then the whole start-up
// load, an exit save and a second load. Built by tools/fuzz-settings.sh.
//
// Besides crashes and sanitizer reports it aborts when a loaded value leaves
// the range the window relies on, or when a save and reload changes a clock.
#include "core/editor/storedpictures.h"
#include "core/settings/schema.h"
#include "core/settings/settingsstore.h"
#include "core/time/clocksource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace tb;

namespace {

QTemporaryDir *g_work = nullptr;

struct CountingMessenger {
    int count = 0;
    Report report()
    {
        return [this](const QString &) { ++count; };
    }
};

void require(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// Never touches the named file: paths in the input may name anything on this
// machine. Which outcome a path gets depends only on its text.
PictureFile fakeLoad(const QString &path)
{
    PictureFile p;
    if (path.isEmpty())
        return p;
    unsigned h = 0;
    for (QChar c : path)
        h = h * 31u + c.unicode();
    switch (h % 3) {
    case 0:
        p.status = PictureFile::Status::Missing;
        break;
    case 1:
        p.status = PictureFile::Status::Unreadable;
        break;
    default:
        p.status = PictureFile::Status::Loaded;
        p.image = QImage(2, 2, QImage::Format_RGB32);
        break;
    }
    return p;
}

void checkEntry(const ClockEntry &e)
{
    for (float v : {e.faceLeft, e.faceTop, e.pictureLeft, e.pictureTop})
        require(std::isfinite(v) && std::fabs(v) <= kPositionLimit, "position out of range");
    require(std::abs(int(e.hourOffset)) <= kDifTimeLimit, "DifTime out of range");
    require(std::abs(int(e.minuteOffset)) <= kDifMinuteLimit, "DifMinute out of range");
}

struct Loaded {
    DisplaySettings display;
    ClockEntries entries;
    int count = 0;
    int messages = 0;
};

Loaded loadAll()
{
    Loaded l;
    CountingMessenger messenger;
    const FixedClock clock;
    openSettings(messenger.report(), clock);
    l.display = loadDisplaySettings();
    int pictures = 0;
    const MapChoice map = loadStoredPictures(
        [&pictures](int slot, const QImage &, const QString &) {
            require(slot >= 1 && slot <= kMaxUserSlot, "user picture slot out of range");
            ++pictures;
        },
        messenger.report(), [](const QString &path, const QString &) { return fakeLoad(path); });
    require(map.builtInIndex == 0 || (map.builtInIndex >= 2 && map.builtInIndex <= 7),
            "built-in map index");
    require(pictures + messenger.count <= kMaxUserSlot + 1, "too many pictures or messages");
    if (const std::optional<int> n = readLastClockIndex()) {
        require(*n >= 0 && *n < kMaxClocks, "clock count out of range");
        l.count = *n;
    } else {
        l.entries[0] = defaultClockEntry();
        writeClock(0, l.entries[0]);
    }
    for (int i = 0; i <= l.count; ++i) {
        readClock(i, l.entries[size_t(i)]);
        checkEntry(l.entries[size_t(i)]);
    }
    require(l.display.clockRadius >= 0, "negative clock radius");
    for (int h = 0; h <= 22; h += 2)
        require(l.display.colours.fills[size_t(h)] <= 0xFFFFFFu, "face colour");
    l.messages = messenger.count;
    return l;
}

bool near(float a, float b)
{
    return std::fabs(a - b) <= 1e-5f * std::fmax(1.0f, std::fabs(a));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    g_work = new QTemporaryDir;
    std::atexit([] { delete g_work; }); // libFuzzer ends with exit(); leave no folder behind
    // Nothing here may fall back to the real per-user settings.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(g_work->path() + QStringLiteral("/config")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString dir = g_work->path() + QStringLiteral("/run");
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    const QString file = dir + QStringLiteral("/TembraOG.ini");
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    appSettings().setSettingsFile(file);

    const Loaded first = loadAll();
    require(saveAllSettings(first.entries, first.count, first.display), "exit save failed");

    // What was saved must load back as the same clocks, with no complaint
    // about the file itself.
    appSettings().setSettingsFile(file);
    require(appSettings().readStatus() == QSettings::NoError, "saved file does not read back");
    const Loaded second = loadAll();
    require(second.count == first.count, "clock count changed");
    require(second.display.clockRadius == first.display.clockRadius, "clock radius changed");
    require(second.display.colours.fills == first.display.colours.fills, "colours changed");
    require(second.display.colours.scaleColour == first.display.colours.scaleColour, "GageColor changed");
    require(second.display.colours.handColour == first.display.colours.handColour, "NeadleColor changed");
    for (int i = 0; i <= first.count; ++i) {
        const ClockEntry &a = first.entries[size_t(i)];
        const ClockEntry &b = second.entries[size_t(i)];
        require(near(a.faceLeft, b.faceLeft) && near(a.faceTop, b.faceTop)
                    && near(a.pictureLeft, b.pictureLeft) && near(a.pictureTop, b.pictureTop),
                "position changed");
        require(a.hourOffset == b.hourOffset && a.minuteOffset == b.minuteOffset, "difference changed");
        require(a.summerTime == b.summerTime, "summertime changed");
        require(a.pictureKey == b.pictureKey, "Fname changed");
    }
    return 0;
}
