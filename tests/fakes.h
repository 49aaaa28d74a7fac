#pragma once
// Test doubles shared by the window tests.
#include "mainwindow/messenger.h"

#include <QStringList>
#include <functional>

namespace tb {

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
