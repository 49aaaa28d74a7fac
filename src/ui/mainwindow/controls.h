#pragma once
// Small helpers the window's rooms share: twips positions of widgets and the
// transparent labels of the main window.
#include "core/common/twips.h"

#include <QColor>
#include <QFont>
#include <QLabel>
#include <cmath>

namespace tb {

inline int px(double twips) { return int(std::lround(twipsToPx(twips))); }
inline double tw(int pixels) { return pxToTwips(pixels); }

inline void moveTw(QWidget *w, double left, double top) { w->move(px(left), px(top)); }
inline double leftTw(const QWidget *w) { return tw(w->x()); }
inline double topTw(const QWidget *w) { return tw(w->y()); }
inline double heightTw(const QWidget *w) { return tw(w->height()); }

// A transparent label that sizes itself to its text.
QLabel *makeLabel(QWidget *parent, const QString &text, const QColor &colour, const QFont &font);
// A run-time element of a control array: a hidden copy of element 0.
QLabel *copyLabel(const QLabel *first);
// Sets the text and refits the label; an unchanged text costs nothing.
// Returns whether the text changed.
bool setLabelText(QLabel *label, const QString &text);

} // namespace tb
