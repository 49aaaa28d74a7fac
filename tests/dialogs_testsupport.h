#pragma once
// For tests of the clock editor and the picture chooser: each showing is
// driven by the test instead of a person, against a settings file of its own.
#include "ui/chooser/picturechooserdialog.h"
#include "widgets_testsupport.h"

namespace tb::testing {

// Shows `dialog` once with `fields`, `act` doing on its window what a person would.
template <class Dialog, class Fields>
void showDriven(Dialog &dialog, Fields &fields, typename Dialog::Driver act)
{
    dialog.setDriver(std::move(act));
    dialog.showModal(fields);
}

// The real chooser, its lists starting in `folder`.
inline PictureChooserDialog chooserIn(const QString &folder)
{
    PictureChooserDialog chooser;
    chooser.setStartFolder(folder);
    return chooser;
}

} // namespace tb::testing
