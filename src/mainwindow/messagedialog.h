#pragma once
#include "mainwindow/messenger.h"

class QWidget;

namespace tb {

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
