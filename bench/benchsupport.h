#pragma once
// What the benchmarks share: a messenger that answers every question with OK,
// and a settings folder with all 21 clocks placed, spread over the map (the
// settings of bench/runcost/fullsettings.sh), away from the add corner so
// that no reminder comes up.
#include "ui/common/fonts.h"
#include "ui/common/messenger.h"

#include <QApplication>
#include <QSettings>
#include <benchmark/benchmark.h>
#include <QString>
#include <QTemporaryDir>

namespace tb::bench {

class SilentMessenger : public Messenger {
public:
    Answer message(const QString &, Buttons, const QString &) override { return Answer::Ok; }
};

// An XDG_CONFIG_HOME-style folder that lives as long as the benchmark.
inline QTemporaryDir *configDir()
{
    static QTemporaryDir dir;
    return &dir;
}

inline void writeFullSettings()
{
    QSettings s(configDir()->path() + "/TembraOG/TembraOG.ini", QSettings::IniFormat);
    s.clear();
    const char *flags[] = { "Japan", "USA", "UK", "France", "Brazil", "India", "China" };
    for (int i = 0; i <= 20; ++i) {
        s.beginGroup(QString::asprintf("UC%03d", i));
        s.setValue("ClockLeft", QString::number(800 + (i % 7) * 1500));
        s.setValue("ClockTop", QString::number(800 + (i / 7) * 1900));
        s.setValue("DifMinute", "0");
        s.setValue("DifTime", QString::number(i - 10));
        s.setValue("FlagLeft", QString::number(1300 + (i % 7) * 1500));
        s.setValue("FlagTop", QString::number(500 + (i / 7) * 1900));
        s.setValue("Fname", flags[i % 7]);
        s.setValue("summertime", i % 3 == 0 ? "True" : "False");
        s.endGroup();
    }
    s.setValue("UserClock/n", "20");
    s.sync();
}

// The main of a benchmark of the main window with all 21 clocks: offscreen
// unless told otherwise, the design font, the settings written first.
inline int runWindowBenchmarks(int argc, char **argv)
{
    qputenv("XDG_CONFIG_HOME", configDir()->path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    QApplication::setFont(designFont(9));
    writeFullSettings();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace tb::bench
