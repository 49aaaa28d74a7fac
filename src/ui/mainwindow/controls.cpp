#include "ui/mainwindow/controls.h"

namespace tb {

QLabel *makeLabel(QWidget *parent, const QString &text, const QColor &colour, const QFont &font)
{
    auto *l = new QLabel(text, parent);
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setAutoFillBackground(false);
    l->setFont(font);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
    l->adjustSize();
    return l;
}

QLabel *copyLabel(const QLabel *first)
{
    auto *l = new QLabel(first->text(), first->parentWidget());
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setFont(first->font());
    l->setPalette(first->palette());
    l->resize(first->size());
    l->hide();
    return l;
}

bool setLabelText(QLabel *label, const QString &text)
{
    if (label->text() == text)
        return false;
    label->setText(text);
    label->adjustSize();
    return true;
}

} // namespace tb
