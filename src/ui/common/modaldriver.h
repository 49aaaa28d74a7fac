#pragma once
// Shows a dialog modally, or, in tests, shows it and lets a driver act on it
// before it closes, so that no human is needed to answer it.
#include <QDialog>
#include <functional>

namespace tb {

template <typename Window>
void runModal(Window &window, const std::function<void(Window &)> &driver)
{
    if (driver) {
        window.show();
        driver(window);
        window.close();
    } else {
        window.exec();
    }
}

} // namespace tb
