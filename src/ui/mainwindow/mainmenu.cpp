#include "ui/mainwindow/mainmenu.h"

#include "core/model/worldmodel.h"
#include "ui/common/fonts.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace tb {

int MainMenu::sizeRadius(int index)
{
    static const int sizes[] = { 0, 600, 440, 300, 250, 180 };
    return index >= 1 && index <= kSizes ? sizes[index] : 0;
}

MainMenu::MainMenu(QMenuBar *bar, const WorldModel &model, QObject *parent) : QObject(parent), m_model(model)
{
    bar->setFont(designFont(9));

    m_clockMenu = bar->addMenu(QStringLiteral("    時計の設定    "));
    // Adding, editing and deleting clocks need the clock editor: the window
    // enables them once it has one.
    m_add = m_clockMenu->addAction(QStringLiteral("  追加     "));
    m_edit = m_clockMenu->addAction(QStringLiteral("  編集"));
    m_delete = m_clockMenu->addAction(QStringLiteral("  削除"));
    for (QAction *a : { m_add, m_edit, m_delete })
        a->setEnabled(false);

    m_optionMenu = bar->addMenu(QStringLiteral("    オプション   "));
    connect(m_optionMenu, &QMenu::aboutToShow, this, &MainMenu::refreshChecks);
    m_colour = m_optionMenu->addAction(QStringLiteral("色の変更"));
    QMenu *changeMap = m_optionMenu->addMenu(QStringLiteral("世界地図の変更"));
    const QStringList mapCaptions = { QStringLiteral("デフォルト"), QStringLiteral("白地図"),
                                      QStringLiteral("グレイ"), QStringLiteral("ブルー"),
                                      QStringLiteral("デザート"), QStringLiteral("ダーク"),
                                      QStringLiteral("タイムゾーン"), QStringLiteral("画像ファイルから") };
    for (int k = 1; k <= kMaps; ++k) {
        QAction *a = changeMap->addAction(mapCaptions[k - 1]);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, k] { emit mapChosen(k); });
        m_mapActions[size_t(k)] = a;
    }

    QMenu *sizeMenu = m_optionMenu->addMenu(QStringLiteral("時計のサイズ   "));
    const QStringList sizeCaptions = { QStringLiteral("特 600"), QStringLiteral("大 440"),
                                       QStringLiteral("中 300"), QStringLiteral("小 250"),
                                       QStringLiteral("微 180") };
    for (int k = 1; k <= kSizes; ++k) {
        QAction *a = sizeMenu->addAction(sizeCaptions[k - 1]);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, k] { emit clockSizeChosen(k); });
        m_sizeActions[size_t(k)] = a;
    }

    QMenu *border = m_optionMenu->addMenu(QStringLiteral("イラストの境界線"));
    m_borderYes = border->addAction(QStringLiteral("あり"));
    m_borderYes->setCheckable(true);
    m_borderNo = border->addAction(QStringLiteral("なし"));
    m_borderNo->setCheckable(true);
    m_borderNo->setChecked(true);
    connect(m_borderYes, &QAction::triggered, this, [this] {
        m_borderYes->setChecked(false); // the check marks of this pair never change
        emit borderChosen(true);
    });
    connect(m_borderNo, &QAction::triggered, this, [this] {
        m_borderNo->setChecked(true);
        emit borderChosen(false);
    });

    m_optionMenu->addSeparator();
    m_commonRule = m_optionMenu->addAction(QStringLiteral("夏時間：共通の規則（4月第1日曜～10月最終日曜）"));
    m_zoneRule = m_optionMenu->addAction(QStringLiteral("夏時間：各地の規則"));
    for (const SummerRule rule : { SummerRule::Common, SummerRule::Zone }) {
        QAction *a = summerRuleAction(rule);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, rule] {
            emit summerRuleChosen(rule);
            refreshChecks(); // a click on the checked one must not clear it
        });
    }
    m_optionMenu->addSeparator();
    m_dayNight = m_optionMenu->addAction(QStringLiteral("昼と夜を表示"));
    m_dayNight->setCheckable(true);
    connect(m_dayNight, &QAction::triggered, this, &MainMenu::dayNightChosen);

    m_toTask = bar->addAction(QStringLiteral("   タスクバーへ(&T)   "));
    m_end = bar->addAction(QStringLiteral("     終了(&X)    "));
    m_help = bar->addAction(QStringLiteral("　　ヘルプ　　"));
    connect(&m_model, &WorldModel::clockRadiusChanged, this, &MainMenu::refreshChecks);
    connect(&m_model, &WorldModel::mapChoiceChanged, this, &MainMenu::refreshChecks);
    connect(&m_model, &WorldModel::summerRuleChanged, this, &MainMenu::refreshChecks);
    connect(&m_model, &WorldModel::dayNightChanged, this, &MainMenu::refreshChecks);
    refreshChecks();
}

void MainMenu::refreshChecks()
{
    for (int k = 1; k <= kSizes; ++k)
        m_sizeActions[size_t(k)]->setChecked(sizeRadius(k) == m_model.clockRadius());
    for (int k = 1; k <= kMaps; ++k)
        m_mapActions[size_t(k)]->setChecked(k == m_model.mapChoice());
    m_commonRule->setChecked(m_model.summerRule() == SummerRule::Common);
    m_zoneRule->setChecked(m_model.summerRule() == SummerRule::Zone);
    m_dayNight->setChecked(m_model.dayNight());
}

} // namespace tb
