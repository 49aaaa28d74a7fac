#include "ui/mainwindow/optionchoices.h"

#include "core/chooser/picturechooser.h"
#include "core/layout/mapcache.h"
#include "core/layout/mapfile.h"
#include "core/model/worldmodel.h"
#include "core/settings/settingsstore.h"
#include "core/window/maps.h"
#include "ui/common/messenger.h"
#include "ui/mainwindow/clientarea.h"
#include "ui/mainwindow/mainmenu.h"

namespace tb {

OptionChoices::OptionChoices(WorldModel &model, ClientArea &client, Messenger &messenger,
                             std::function<QRect()> mapRect)
    : m_model(model), m_client(client), m_messenger(messenger), m_mapRect(std::move(mapRect))
{
}

void OptionChoices::chooseMap(int index)
{
    if (index < 1 || index > MainMenu::kMaps)
        return;
    SettingsWriteGroup group; // the file and the choice are stored together
    if (index == MainMenu::kMaps) {
        if (!m_chooser || !mapFromFile())
            return;
    } else {
        m_client.setMapPicture(builtInMap(index));
    }
    // Remembered also when the chooser was cancelled: the entry was chosen.
    m_model.storeMapChoice(index);
    if (!group.end())
        m_messenger.message(settingsNotSavedMessage());
}

void OptionChoices::chooseDayNight(bool on)
{
    SettingsWriteGroup group;
    m_model.storeDayNight(on);
    if (!group.end())
        m_messenger.message(settingsNotSavedMessage());
}

void OptionChoices::chooseSummerRule(SummerRule rule)
{
    if (!m_model.storeSummerRule(rule))
        m_messenger.message(settingsNotSavedMessage());
}

// False only when the chosen file could not be loaded.
bool OptionChoices::mapFromFile()
{
    ChooserFields fields;
    fields.purpose = ChooserPurpose::WorldMap;
    m_chooser->showModal(fields);
    if (!fields.confirmed)
        return true;
    // The file may have vanished or broken since it was chosen: then the map
    // and the stored choice stay as they were.
    const QRect map = m_mapRect();
    const QSize mapSize = map.isValid() ? map.size() : m_client.size();
    const PictureRead picture = loadMapPicture(fields.chosenPath, mapSize);
    if (picture.problem != PictureProblem::None) {
        m_messenger.message(mapNotLoadedMessage(fields.chosenPath, picture.problem));
        return false;
    }
    // The next start then shows it without decoding the file again.
    keepChosenMap(fields.chosenPath, picture, mapSize);
    m_model.storeMapFile(fields.chosenPath);
    m_client.setMapPicture(picture.image);
    return true;
}

} // namespace tb
