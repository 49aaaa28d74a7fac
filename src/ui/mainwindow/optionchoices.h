#pragma once
// The options menu's choices that are kept in the settings file at once: the
// map (a built-in one or a picture file through the chooser), day and night
// on the map, and the summer rule. A choice that could not be kept is said
// so; it holds until the program ends.
#include "core/time/zonerules.h"

#include <QRect>
#include <functional>

namespace tb {

class ClientArea;
class Messenger;
class PictureChooser;
class WorldModel;

class OptionChoices {
public:
    // `mapRect` tells where the map lies in the client area now (pixels).
    OptionChoices(WorldModel &model, ClientArea &client, Messenger &messenger, std::function<QRect()> mapRect);

    // Serves "画像ファイルから"; without one that entry does nothing.
    void setPictureChooser(PictureChooser *chooser) { m_chooser = chooser; }

    void chooseMap(int index); // 1 … 7 built in, 8 a picture file
    void chooseDayNight(bool on);
    void chooseSummerRule(SummerRule rule);

private:
    bool mapFromFile();

    WorldModel &m_model;
    ClientArea &m_client;
    Messenger &m_messenger;
    std::function<QRect()> m_mapRect;
    PictureChooser *m_chooser = nullptr;
};

} // namespace tb
