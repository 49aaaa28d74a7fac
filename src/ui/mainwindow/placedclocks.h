#pragma once
// The controls of the placed clocks: per clock a picture frame, a date label,
// a time label, a "DST" mark and the spot over its face that takes the
// keyboard and speaks to a screen reader. Set 0 exists from the start;
// further sets are created as hidden copies of it and destroyed from the end.
// The border round the pictures follows the model.
#include "core/time/clockentry.h"
#include "core/time/datetime.h"

#include <vector>

class QFont;
class QLabel;
class QPoint;
class QPointF;
class QWidget;

namespace tb {

class ClockSpot;
class PictureBox;
class PictureStore;
class WorldModel;

class PlacedClocks {
public:
    // Creates set 0 at its design place.
    PlacedClocks(QWidget *parent, const WorldModel &model, const QFont &font, const QFont &smallFont);

    int count() const { return int(m_pictures.size()); }
    // Makes sets up to and including i (hidden copies of set 0); i ≤ 20.
    void create(int i);
    // Destroys the last set; set 0 always stays. False when only set 0 is left.
    bool destroyLast();
    // Gives set `to` what set `from` shows: picture, stretch, size, place,
    // texts, mark place and visibility (the delete step moves clocks down).
    void copyDown(int from, int to);

    // Frame i takes clock e's picture as the add step does: at (pictureLeft,
    // pictureTop) as stored, stretched to pictureWidth × pictureHeight when set, or to
    // the size a "st" tag gives. A key the store lacks is cleared from e.
    void applyPicture(int i, ClockEntry &e, const PictureStore &pictures);
    // Picture i at (left, top) twips.
    void placePicture(int i, double left, double top);
    // Date and time labels of clock i just under its picture.
    void placeLabels(int i);
    // Mark i at (left, top) twips, shown only when `show`.
    void placeMark(int i, double left, double top, bool show);
    // Spot i over its face, centred at `centre` with radius `radius`, twips.
    void placeSpot(int i, QPointF centre, double radius);
    // Moves picture i and its labels by `shift` pixels.
    void shiftGroup(int i, QPoint shift);
    void setTimes(int i, DateTime t);
    // Each clock's spot tells a listening screen reader of a new name.
    void announce();
    // The model's border round the frame of every placed clock; frames made
    // later take it as they are made.
    void applyBorder();
    void show(int i);

    PictureBox *picture(int i) const { return m_pictures[size_t(i)]; }
    QLabel *dateLabel(int i) const { return m_dates[size_t(i)]; }
    QLabel *timeLabel(int i) const { return m_times[size_t(i)]; }
    QLabel *mark(int i) const { return m_marks[size_t(i)]; }
    ClockSpot *spot(int i) const { return m_spots[size_t(i)]; }

private:
    // The spot of set i, named after what clock i shows.
    void makeSpot(QWidget *parent);

    std::vector<PictureBox *> m_pictures;
    std::vector<QLabel *> m_dates, m_times, m_marks;
    std::vector<ClockSpot *> m_spots;
    std::vector<DateTime> m_shown; // each clock's time as its labels show it
    const WorldModel &m_model;
};

} // namespace tb
