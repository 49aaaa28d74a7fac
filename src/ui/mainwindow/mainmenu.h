#pragma once
// The main window's menu bar: its entries, captions and access keys, and the
// check marks of the option menu. Entries that later features wire up are
// built disabled; enable them with their accessor and connect `triggered`.
// The check marks of the clock size, the map, the summer rule and day and
// night follow the model.
#include "core/time/zonerules.h"

#include <QObject>
#include <array>

class QAction;
class QMenu;
class QMenuBar;

namespace tb {

class WorldModel;

class MainMenu : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaps = 8;  // 1 … 7 built-in maps, 8 a picture file
    static constexpr int kSizes = 5; // 1 … 5: 600, 440, 300, 250, 180

    MainMenu(QMenuBar *bar, const WorldModel &model, QObject *parent);

    // The clock radius of size entry 1 … 5; 0 outside.
    static int sizeRadius(int index);

    // "時計の設定" entries, "色の変更", the map from a picture file, "ヘルプ".
    QAction *addClockAction() const { return m_add; }
    QAction *editClockAction() const { return m_edit; }
    QAction *deleteClockAction() const { return m_delete; }
    QAction *colourAction() const { return m_colour; }
    QAction *mapFileAction() const { return m_mapActions[kMaps]; }
    QAction *helpAction() const { return m_help; }
    QAction *mapAction(int index) const { return m_mapActions[size_t(index)]; }   // 1 … 8
    QAction *sizeAction(int index) const { return m_sizeActions[size_t(index)]; } // 1 … 5
    QAction *borderYesAction() const { return m_borderYes; }
    QAction *borderNoAction() const { return m_borderNo; }
    // The two summer rules, below the other options.
    QAction *summerRuleAction(SummerRule rule) const
    {
        return rule == SummerRule::Zone ? m_zoneRule : m_commonRule;
    }
    QAction *dayNightAction() const { return m_dayNight; }
    QAction *toTaskAction() const { return m_toTask; }
    QAction *endAction() const { return m_end; }
    QMenu *clockMenu() const { return m_clockMenu; }
    QMenu *optionMenu() const { return m_optionMenu; }

signals:
    void mapChosen(int index);        // 1 … 7
    void clockSizeChosen(int index);  // 1 … 5
    void borderChosen(bool on);
    void summerRuleChosen(SummerRule rule);
    void dayNightChosen(bool on);

private:
    // The size entry of the model's clock radius, its map entry (none when
    // outside 1 … 8), its summer rule and day and night. Also as the option menu opens: a
    // click on an entry already chosen takes its check mark away.
    void refreshChecks();

    const WorldModel &m_model;
    QMenu *m_clockMenu = nullptr;
    QMenu *m_optionMenu = nullptr;
    QAction *m_add = nullptr;
    QAction *m_edit = nullptr;
    QAction *m_delete = nullptr;
    QAction *m_colour = nullptr;
    std::array<QAction *, kMaps + 1> m_mapActions{};
    std::array<QAction *, kSizes + 1> m_sizeActions{};
    QAction *m_borderYes = nullptr;
    QAction *m_borderNo = nullptr;
    QAction *m_commonRule = nullptr;
    QAction *m_zoneRule = nullptr;
    QAction *m_dayNight = nullptr;
    QAction *m_toTask = nullptr;
    QAction *m_end = nullptr;
    QAction *m_help = nullptr;
};

} // namespace tb
