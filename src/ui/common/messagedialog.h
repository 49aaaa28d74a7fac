#pragma once
#include "ui/common/messenger.h"

class QCoreApplication;
class QWidget;

namespace tb {

// Qt's own texts (the buttons of these boxes, the menus of text fields) in
// Japanese like the rest, from Qt's translations; false when they are missing.
bool installQtTranslation(QCoreApplication &app);

// Messages as modal message boxes over a parent window.
class MessageDialog : public Messenger {
public:
    explicit MessageDialog(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    Answer message(const QString &text, Buttons buttons, const QString &title) override;

private:
    QWidget *m_parent;
};

} // namespace tb
