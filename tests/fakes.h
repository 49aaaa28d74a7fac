#pragma once
// Test doubles shared by the tests: a messenger and pictures.
#include "ui/common/messenger.h"

#include <QColor>
#include <QImage>
#include <QStringList>
#include <functional>

namespace tb {

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

} // namespace tb
