// The colour dialog with a stand-in main window: what it shows at load, the
// band, hands, scale and scheme buttons, presses on demo clocks and bars,
// "登録" (colours handed over and the face colours stored at once) and
// "キャンセル".
#include "ui/colour/colourdialog.h"
#include "core/model/worldmodel.h"
#include "fakes.h"
#include "settings_testsupport.h"

#include <QApplication>
#include <QPushButton>
#include <QSlider>
#include <QtTest>
#include <memory>

using namespace tb;
using tb::testing::TempStore;

namespace {
int px(double twips) { return int(twips / 15.0); }

// Fill of demo clock i as painted: a point left of the centre, clear of
// every hand of an even hour and of the ticks.
Colour paintedFill(const ColourDialog &d, int i)
{
    const QPointF c = demoCentre(i);
    return fromQColor(d.surface().pixelColor(px(c.x()) - 12, px(c.y())));
}

// Whether some pixel in `area` of the dialog's surface is close to `c`
// (faces are antialiased, so thin lines are seldom exact).
bool paints(const ColourDialog &d, const QRect &area, Colour c)
{
    const QColor want = toQColor(c);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor got = d.surface().pixelColor(x, y);
            if (std::abs(got.red() - want.red()) < 60 && std::abs(got.green() - want.green()) < 60
                && std::abs(got.blue() - want.blue()) < 60)
                return true;
        }
    return false;
}
} // namespace

class TestColourDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensWithTheWorkingColours();
    void slidersMixTheColour();
    void bandButtonsColourTwoDemoClocks_data();
    void bandButtonsColourTwoDemoClocks();
    void handsAndScaleButtonsAndSwatches();
    void schemeThenRegister_data();
    void schemeThenRegister();
    void registerWritesOnlyTheTwelveFaceKeys();
    void cancelDropsWhatWasNotRegistered();
    void pressOnADemoClockLoadsItsColour();
    void pressOnABarMovesItsSlider_data();
    void pressOnABarMovesItsSlider();
    void openingAgainBringsTheOpenDialogForward();

private:
    std::unique_ptr<TempStore> store;
    WorldModel model;
    RecordingMessenger messages;
    QSignalSpy registrations{ &model, &WorldModel::coloursChanged }; // colours the model took
    std::unique_ptr<ColourDialog> dialog;
};

void TestColourDialog::initTestCase()
{
    installFontSubstitutions();
    QApplication::setFont(designFont(9));
}

void TestColourDialog::init()
{
    store = std::make_unique<TempStore>();
    model.setColours(FaceColours());
    registrations.clear();
    dialog = std::make_unique<ColourDialog>(model, messages);
    dialog->showModeless();
}

void TestColourDialog::cleanup()
{
    dialog.reset();
    store.reset();
}

void TestColourDialog::opensWithTheWorkingColours()
{
    QCOMPARE(dialog->windowTitle(), QStringLiteral("表示色の選択"));
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->colourCode()->text(), QStringLiteral("808080"));
    QCOMPARE(dialog->slider(0)->value(), 0);
    QCOMPARE(dialog->slider(1)->value(), 0);
    QCOMPARE(dialog->slider(2)->value(), 120);
    QCOMPARE(dialog->slider(0)->maximum(), 239);
    QCOMPARE(dialog->slider(1)->maximum(), 240);
    QCOMPARE(dialog->slider(2)->pageStep(), 5);
    QCOMPARE(dialog->swatch(0)->colour(), Colour(0));
    QCOMPARE(dialog->swatch(1)->colour(), Colour(255));
    // 6 … 16 o'clock light grey, 18 … 4 o'clock grey, left to right.
    for (int i = 0; i < kDemoClocks; ++i)
        QCOMPARE(paintedFill(*dialog, i), Colour(i < 6 ? 0xE0E0E0 : 0x808080));
    QCOMPARE(registrations.count(), 0);
}

void TestColourDialog::slidersMixTheColour()
{
    dialog->slider(1)->setValue(240);
    QCOMPARE(dialog->colourCode()->text(), QStringLiteral("0000FF"));
    dialog->slider(0)->setValue(160);
    QCOMPARE(dialog->colourCode()->text(), QStringLiteral("FF0000"));
    // The luminosity bar follows hue and saturation: its middle line is the colour itself.
    QCOMPARE(dialog->mixer().luminosityBar()[120], Colour(0xFF0000));
    QCOMPARE(fromQColor(dialog->bar(2)->picture().pixelColor(120, 5)), Colour(0xFF0000));
    QTest::keyClick(dialog->slider(2), Qt::Key_PageUp);
    QCOMPARE(dialog->slider(2)->value(), 125);
    QCOMPARE(dialog->colourCode()->text(), QStringLiteral("FF0A0A"));
}

void TestColourDialog::bandButtonsColourTwoDemoClocks_data()
{
    QTest::addColumn<int>("band");
    for (int k = 0; k < kBands; ++k)
        QTest::addRow("band %d", k) << k;
}

void TestColourDialog::bandButtonsColourTwoDemoClocks()
{
    QFETCH(int, band);
    dialog->slider(1)->setValue(240); // pure red at hue 0, luminosity 120
    QCOMPARE(dialog->mixer().currentColour(), Colour(0x0000FF));
    QTest::mouseClick(dialog->targetButton(band), Qt::LeftButton);
    for (int i = 0; i < kDemoClocks; ++i) {
        const bool inBand = i / 2 == band;
        const Colour before = i < 6 ? 0xE0E0E0 : 0x808080;
        QCOMPARE(dialog->mixer().demoColours()[size_t(i)], inBand ? Colour(0x0000FF) : before);
        QCOMPARE(paintedFill(*dialog, i), inBand ? Colour(0x0000FF) : before);
    }
    QCOMPARE(registrations.count(), 0);
    QVERIFY(store->keysOnDisk().isEmpty());
}

void TestColourDialog::handsAndScaleButtonsAndSwatches()
{
    dialog->slider(1)->setValue(240);
    dialog->slider(0)->setValue(80); // green
    QTest::mouseClick(dialog->handsColourButton(), Qt::LeftButton);
    QCOMPARE(dialog->swatch(0)->colour(), Colour(0x00FF00));
    dialog->slider(0)->setValue(160); // blue
    QTest::mouseClick(dialog->scaleColourButton(), Qt::LeftButton);
    QCOMPARE(dialog->swatch(1)->colour(), Colour(0xFF0000));
    QCOMPARE(dialog->mixer().demoHandsColour(), Colour(0x00FF00));
    QCOMPARE(dialog->mixer().demoScaleColour(), Colour(0xFF0000));
    // The demo clocks draw their hands and centre square in these colours:
    // at 6 o'clock the minute hand points up from the centre.
    const QPoint c = demoCentre(0).toPoint() / 15;
    QVERIFY(paints(*dialog, QRect(c.x() - 3, c.y() - 3, 7, 7), 0xFF0000));
    QVERIFY(paints(*dialog, QRect(c.x() - 2, c.y() - 16, 5, 8), 0x00FF00));
    QVERIFY(!paints(*dialog, QRect(c.x() - 2, c.y() - 16, 5, 8), 0x000000));

    // A left click on a swatch loads its colour; a right one, or one carried off, does not.
    QTest::mouseClick(dialog->swatch(0), Qt::RightButton);
    QTest::mousePress(dialog->swatch(0), Qt::LeftButton);
    QTest::mouseRelease(dialog->swatch(0), Qt::LeftButton, {}, QPoint(-4, 3));
    QCOMPARE(dialog->colourCode()->text(), QStringLiteral("FF0000"));
    QTest::mouseClick(dialog->swatch(0), Qt::LeftButton);
    QCOMPARE(dialog->colourCode()->text(), QStringLiteral("00FF00"));
    QCOMPARE(dialog->slider(0)->value(), 80);
    QTest::mouseClick(dialog->swatch(1), Qt::LeftButton);
    QCOMPARE(dialog->colourCode()->text(), QStringLiteral("FF0000"));

    QTest::mouseClick(dialog->registerButton(), Qt::LeftButton);
    QCOMPARE(model.colours().handColour, Colour(0x00FF00));
    QCOMPARE(model.colours().scaleColour, Colour(0xFF0000));
}

void TestColourDialog::schemeThenRegister_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QList<uint>>("byHour"); // fills 0, 2, … 22
    const uint G = 0x808080, L = 0xE0E0E0;
    QTest::newRow("white and black") << 0 << QStringLiteral("白黒")
                                     << QList<uint>{ G, G, G, L, L, L, L, L, L, G, G, G };
    QTest::newRow("grey") << 1 << QStringLiteral("グレイ")
                          << QList<uint>{ 6447714, G, G, L, L, 16777215, 16777215, L, L, G, G, 6447714 };
    QTest::newRow("orange") << 2 << QStringLiteral("オレンジ")
                            << QList<uint>{ 0x0A485A, 0x117C9B, 0x117C9B, 0x2DB8F2, 0x2DB8F2, 0x2D7AF2,
                                            0x2D7AF2, 0x2DB8F2, 0x2DB8F2, 0x117C9B, 0x117C9B, 0x0A485A };
    QTest::newRow("blue") << 3 << QStringLiteral("青")
                          << QList<uint>{ 0x5A5B28, 0x779935, 0x779935, 0xC5CA00, 0xC5CA00, 0xFEFFB9,
                                          0xFEFFB9, 0xC5CA00, 0xC5CA00, 0x779935, 0x779935, 0x5A5B28 };
}

void TestColourDialog::schemeThenRegister()
{
    QFETCH(int, scheme);
    QFETCH(QString, caption);
    QFETCH(QList<uint>, byHour);
    // Start from colours that no scheme has, so every entry must change.
    FaceColours start;
    for (int h = 0; h <= 22; h += 2)
        start.fills[size_t(h)] = 0x010203;
    start.fills[1] = 0x777777; // an unused entry is handed back untouched
    model.setColours(start);
    registrations.clear();
    dialog->close();
    dialog->showModeless();

    QCOMPARE(dialog->schemeButton(scheme)->text(), caption);
    const QString before = dialog->colourCode()->text();
    const Colour editing = dialog->mixer().currentColour();
    QTest::mouseClick(dialog->schemeButton(scheme), Qt::LeftButton);
    // The editor stays as it was.
    QCOMPARE(dialog->mixer().currentColour(), editing);
    QCOMPARE(dialog->colourCode()->text(), before);
    QCOMPARE(registrations.count(), 0);
    QTest::mouseClick(dialog->registerButton(), Qt::LeftButton);
    QCOMPARE(registrations.count(), 1);
    QVERIFY(dialog->isVisible()); // "登録" keeps the dialog open
    for (int h = 0; h <= 22; h += 2) {
        QCOMPARE(model.colours().fills[size_t(h)], Colour(byHour[h / 2]));
        QCOMPARE(store->onDisk(QStringLiteral("Color/%1").arg(h)).toString(),
                 QString::number(byHour[h / 2]));
    }
    QCOMPARE(model.colours().fills[1], Colour(0x777777));
}

void TestColourDialog::registerWritesOnlyTheTwelveFaceKeys()
{
    QStringList writes;
    appSettings().setWriteObserver([&writes](const QString &s, const QString &k, const QString &) {
        writes << s + QLatin1Char('/') + k;
    });
    dialog->slider(1)->setValue(240);
    QTest::mouseClick(dialog->scaleColourButton(), Qt::LeftButton); // a new scale colour …
    QTest::mouseClick(dialog->registerButton(), Qt::LeftButton);
    QStringList expected;
    for (int h : { 6, 8, 10, 12, 14, 16, 18, 20, 22, 0, 2, 4 })
        expected << QStringLiteral("Color/%1").arg(h);
    QCOMPARE(writes, expected);
    // … reaches the main window but not the store.
    QCOMPARE(model.colours().scaleColour, Colour(0x0000FF));
    QStringList keys = store->keysOnDisk();
    QVERIFY(!keys.contains(QStringLiteral("UserClock/GageColor")));
    QVERIFY(!keys.contains(QStringLiteral("UserClock/NeadleColor")));
    QCOMPARE(keys.size(), 12);
}

void TestColourDialog::cancelDropsWhatWasNotRegistered()
{
    dialog->slider(1)->setValue(240);
    QTest::mouseClick(dialog->targetButton(0), Qt::LeftButton);
    QTest::mouseClick(dialog->registerButton(), Qt::LeftButton); // kept: registered
    QTest::mouseClick(dialog->schemeButton(2), Qt::LeftButton);
    QTest::mouseClick(dialog->targetButton(3), Qt::LeftButton);
    QTest::mouseClick(dialog->handsColourButton(), Qt::LeftButton);
    const QByteArray file = store->raw();
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(registrations.count(), 1);
    QCOMPARE(store->raw(), file);
    FaceColours expected;
    expected.fills[6] = expected.fills[8] = 0x0000FF;
    QCOMPARE(model.colours().fills, expected.fills);
    QCOMPARE(model.colours().handColour, Colour(0));

    // The next opening starts again from the main window's colours.
    dialog->showModeless();
    QCOMPARE(dialog->mixer().demoColours()[0], Colour(0x0000FF));
    QCOMPARE(dialog->mixer().demoColours()[6], Colour(0x808080));
    QCOMPARE(dialog->mixer().demoHandsColour(), Colour(0));
    QCOMPARE(paintedFill(*dialog, 6), Colour(0x808080));
}

void TestColourDialog::pressOnADemoClockLoadsItsColour()
{
    QTest::mouseClick(dialog->schemeButton(2), Qt::LeftButton); // orange
    const QPointF c = demoCentre(3);                     // 12 o'clock: 0x2D7AF2
    QTest::mouseClick(dialog.get(), Qt::LeftButton, {}, QPoint(px(c.x()), px(c.y())));
    QCOMPARE(dialog->colourCode()->text(), QStringLiteral("2D7AF2"));
    // Exactly one radius from a centre loads nothing.
    dialog->pressAt(demoCentre(4).x(), demoCentre(4).y() - 350);
    QCOMPARE(dialog->colourCode()->text(), QStringLiteral("2D7AF2"));
    dialog->pressAt(demoCentre(4).x(), demoCentre(4).y() - 349);
    QCOMPARE(dialog->colourCode()->text(), QStringLiteral("2DB8F2"));
    QCOMPARE(dialog->slider(0)->value(), 28);
    QCOMPARE(dialog->slider(1)->value(), 212);
    QCOMPARE(dialog->slider(2)->value(), 135);
    // Below the row: nothing.
    QTest::mouseClick(dialog.get(), Qt::LeftButton, {}, QPoint(px(c.x()), px(1500)));
    QCOMPARE(dialog->colourCode()->text(), QStringLiteral("2DB8F2"));
}

void TestColourDialog::pressOnABarMovesItsSlider_data()
{
    QTest::addColumn<int>("bar");
    QTest::addColumn<int>("xPx");
    QTest::addColumn<int>("value");
    QTest::newRow("hue, middle") << 0 << 122 << 128;
    QTest::newRow("hue, right end") << 0 << 243 << 239;
    QTest::newRow("saturation, middle") << 1 << 122 << 128;
    QTest::newRow("luminosity, right end") << 2 << 243 << 240;
    QTest::newRow("luminosity, left end") << 2 << 0 << 0;
}

void TestColourDialog::pressOnABarMovesItsSlider()
{
    QFETCH(int, bar);
    QFETCH(int, xPx);
    QFETCH(int, value);
    QTest::mouseClick(dialog->bar(bar), Qt::LeftButton, {}, QPoint(xPx, 5));
    QCOMPARE(dialog->slider(bar)->value(), value);
    QCOMPARE(dialog->mixer().slider(bar), value);
}

void TestColourDialog::openingAgainBringsTheOpenDialogForward()
{
    QTest::mouseClick(dialog->schemeButton(3), Qt::LeftButton);
    dialog->showModeless(); // already open: not loaded again
    QCOMPARE(dialog->mixer().demoColours()[0], Colour(0xC5CA00));
    QVERIFY(dialog->isVisible());
    // After a close the hue the editor held stays: a grey does not reset it.
    dialog->slider(0)->setValue(100);
    dialog->close();
    dialog->showModeless();
    QCOMPARE(dialog->mixer().demoColours()[0], Colour(0xE0E0E0));
    QCOMPARE(dialog->colourCode()->text(), QStringLiteral("808080"));
    QCOMPARE(dialog->slider(0)->value(), 100);
}

QTEST_MAIN(TestColourDialog)
#include "tst_colourdialog.moc"
