#pragma once
// Modal messages go through this interface so that tests can answer them.
#include <QString>

namespace tb {

class Messenger {
public:
    enum class Buttons { Ok, OkCancel };
    enum class Answer { Ok, Cancel };
    virtual ~Messenger() = default;
    // Shows a modal message; an empty title means the program's own, "テンブラ".
    virtual Answer message(const QString &text, Buttons buttons = Buttons::Ok,
                           const QString &title = QString()) = 0;
};

inline QString programTitle() { return QStringLiteral("テンブラ"); }

} // namespace tb
