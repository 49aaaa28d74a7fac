// The clock editor's handling of the user's own pictures: adding one through
// the picture chooser into the lowest free slot, and removing one again.
#include "core/editor/editorrules.h"
#include "core/editor/picturestore.h"
#include "ui/editor/clockeditordialog.h"
#include "ui/common/messenger.h"
#include "core/settings/schema.h"
#include "core/settings/settingsstore.h"

#include <QListWidget>

namespace tb {

void ClockEditorWindow::addUserPicture()
{
    ChooserFields &chooser = m_state.chooser;
    chooser.purpose = ChooserPurpose::ClockPicture;
    m_services.chooser.showModal(chooser);
    if (!chooser.confirmed)
        return;
    m_state.userPictureFile = chooser.chosenPath;
    const QString tag = chooser.sizeTag;

    const std::optional<UserSlotChoice> slot = chooseUserSlot();
    if (!slot) {
        m_services.messenger.message(userPicturesFullMessage(), Messenger::Buttons::Ok, programTitle());
        return;
    }
    // The slot is written only once the picture is known to load.
    PictureFile file = loadUserPicture(m_state.userPictureFile, tag);
    if (file.status != PictureFile::Status::Loaded) {
        m_services.messenger.message(pictureNotLoadedMessage());
        return;
    }
    if (!storeUserSlot(*slot, m_state.userPictureFile, tag))
        m_services.messenger.message(settingsNotSavedMessage());
    const QString key = PictureStore::userKey(slot->slot);
    m_services.store.addUser(slot->slot, file.image, tag);
    int row = nameRow(key);
    if (row < 0) {
        row = sortedInsertPosition(m_names, key);
        m_names.insert(row, key);
        m_pictureNameList->blockSignals(true);
        m_pictureNameList->insertItem(row, key);
        m_pictureNameList->blockSignals(false);
    }
    m_pictureNameList->setCurrentRow(row);
    nameChosen(key);
}

void ClockEditorWindow::removePicture()
{
    const QList<QListWidgetItem *> sel = m_pictureNameList->selectedItems();
    if (sel.isEmpty())
        return;
    const QString name = sel.first()->text();
    if (!isUserPictureName(name))
        return;
    if (m_services.messenger.message(removeQuestion(name), Messenger::Buttons::OkCancel)
        != Messenger::Answer::Ok)
        return;
    bool numeric = false;
    const int slot = name.left(3).toInt(&numeric);
    if (numeric && slot >= 1 && !freeUserSlot(slot))
        m_services.messenger.message(settingsNotSavedMessage());
    m_services.store.remove(name);
    const int row = m_pictureNameList->row(sel.first());
    m_pictureNameList->blockSignals(true);
    delete m_pictureNameList->takeItem(row);
    m_pictureNameList->clearSelection();
    m_pictureNameList->blockSignals(false);
    m_names.removeAt(row);
    // The removed name can no longer be shown, so nothing is chosen now.
    m_state.pictureKey.clear();
    clearPicture();
    if (m_services.pictureRemoved)
        m_services.pictureRemoved(name);
}

} // namespace tb
