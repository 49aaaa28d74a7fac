// Developer entry point (not installed): opens the clock editor or the
// picture chooser on their own, to look at them and try them by hand.
//   tembra_dev_editor add|edit|del [picture-key] [--settings FILE]
//   tembra_dev_editor chooser|mapchooser
// Without --settings the settings go to a temporary file, so trying the
// editor never touches the user's own.
#include "ui/chooser/picturechooserdialog.h"
#include "core/editor/picturestore.h"
#include "core/editor/storedpictures.h"
#include "ui/editor/clockeditordialog.h"
#include "ui/common/fonts.h"
#include "ui/common/messagedialog.h"
#include "core/settings/settingsstore.h"
#include "core/time/clocksource.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    tb::installFontSubstitutions();
    QApplication::setFont(tb::designFont(9));

    QStringList args = app.arguments().mid(1);
    QString settings;
    if (const int i = int(args.indexOf(QStringLiteral("--settings"))); i >= 0 && i + 1 < args.size()) {
        settings = args.at(i + 1);
        args.remove(i, 2);
    }
    const QString mode = args.value(0, QStringLiteral("add"));
    QTemporaryDir temp;
    tb::appSettings().setApplicationName(QStringLiteral("TembraOG"));
    tb::appSettings().setSettingsFile(settings.isEmpty() ? temp.filePath(QStringLiteral("TembraOG.ini")) : settings);

    QTextStream out(stdout);
    tb::PictureChooserDialog chooser;
    if (mode == QLatin1String("chooser") || mode == QLatin1String("mapchooser")) {
        tb::ChooserFields f;
        f.purpose = mode == QLatin1String("mapchooser") ? tb::ChooserPurpose::WorldMap
                                                        : tb::ChooserPurpose::ClockPicture;
        chooser.showModal(f);
        out << "confirmed=" << f.confirmed << " chosenPath=" << f.chosenPath
            << " sizeTag=" << f.sizeTag << Qt::endl;
        return 0;
    }

    tb::SystemClock clock;
    tb::MessageDialog messages;
    tb::PictureStore store = tb::PictureStore::builtIn();
    tb::loadStoredPictures([&](int slot, const QImage &p, const QString &tag) { store.addUser(slot, p, tag); },
                           [&](const QString &text) { messages.message(text, tb::Messenger::Buttons::Ok, QString()); });
    tb::FaceColours colours;
    tb::ClockEditorDialog editor(store, clock, messages, colours, chooser, [&](const QString &key) {
        out << "removed " << key << Qt::endl;
    });
    tb::EditorFields f;
    f.mode = mode == QLatin1String("add")    ? tb::EditMode::Add
        : mode == QLatin1String("edit")      ? tb::EditMode::Edit
        : mode == QLatin1String("del")       ? tb::EditMode::Delete
                                             : tb::EditMode::None;
    f.pictureKey = args.value(1, QStringLiteral("Japan"));
    f.hours = -8;
    editor.showModal(f);
    out << "confirmed=" << f.confirmed << " pictureKey=" << f.pictureKey
        << " hours=" << f.hours << " minutes=" << f.minutes
        << " summerTime=" << f.summerTime << " pictureTwips=" << f.pictureTwips.width() << "x"
        << f.pictureTwips.height() << Qt::endl;
    return 0;
}
