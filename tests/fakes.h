#pragma once
// Test doubles shared by the tests: a messenger, a chooser and pictures; and the
// set-up every window test shares.
#include "core/chooser/picturechooser.h"
#include "core/settings/settingsstore.h"
#include "ui/common/fonts.h"
#include "ui/common/messenger.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace tb {

// Window tests draw with the design fonts and keep the per-user settings in `dir`.
inline void startWindowTests(const QTemporaryDir &dir)
{
    installFontSubstitutions();
    QApplication::setFont(designFont(9));
    QVERIFY(dir.isValid());
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    qputenv("XDG_CACHE_HOME", dir.filePath(QStringLiteral("cache")).toUtf8());
}

// A settings file of its own for each test function, in `dir`.
inline QString freshSettingsFile(const QTemporaryDir &dir)
{
    static int run = 0;
    const QString file = dir.filePath(QStringLiteral("run%1/TembraOG.ini").arg(++run));
    appSettings().setSettingsFile(file);
    return file;
}

// A picture of one colour, or with its right half in a second colour (as on a map, sea and land).
inline QImage solidPicture(int w, int h, const QColor &colour = Qt::red, const QColor &right = QColor())
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    for (int y = 0; y < h && right.isValid(); ++y)
        for (int x = w / 2; x < w; ++x)
            img.setPixelColor(x, y, right);
    return img;
}

// Writes `bytes` as the file `path`, making its folder and replacing what was there.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// A 1 × 1 GIF, written by hand: Qt writes none.
inline QByteArray tinyGif()
{
    static const char gif[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                              "!\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00"
                              "\x00\x02\x02\x44\x01\x00;";
    return QByteArray(gif, sizeof gif - 1);
}

// Answers every message at once and remembers what was asked.
class RecordingMessenger : public Messenger {
public:
    Answer message(const QString &text, Buttons buttons, const QString &title) override
    {
        texts << text;
        titles << title;
        lastButtons = buttons;
        return answer;
    }
    // The settings code reports through a plain callback.
    std::function<void(const QString &)> report()
    {
        return [this](const QString &text) { message(text, Buttons::Ok, QString()); };
    }
    QStringList texts;
    QStringList titles;
    Buttons lastButtons = Buttons::Ok;
    Answer answer = Answer::Ok;
};

// Confirms `file` with `tag` (cancels when `file` is empty) and remembers
// what each showing was for.
class ScriptedChooser : public PictureChooser {
public:
    void showModal(ChooserFields &fields) override
    {
        purposes << fields.purpose;
        fields.confirmed = !file.isEmpty();
        if (fields.confirmed) {
            fields.chosenPath = file;
            fields.sizeTag = tag;
        }
    }
    QString file, tag;
    QList<ChooserPurpose> purposes;
};

} // namespace tb
