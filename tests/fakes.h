#pragma once
// Test doubles shared by the window tests.
#include "mainwindow/messenger.h"

#include <QStringList>

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
    QStringList texts;
    QStringList titles;
    Buttons lastButtons = Buttons::Ok;
    Answer answer = Answer::Ok;
};

} // namespace tb
