#pragma once

#include "ui/window_placement.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace kvalon {

class UserSettings;

// Where the menu window and the preview go on the screens, by the rules of
// ui/window_placement.h, and where the user left them, remembered across
// runs in the user's settings as each window closes.
class WindowPlaces final : public QObject {
    Q_OBJECT
public:
    // `print_data` is the menu window's frame of print data, which the
    // preview leaves in view.
    WindowPlaces(QWidget& menu, const QWidget& print_data, UserSettings& settings);

    // The menu window, not shown yet, where the user left it when that is
    // on a screen now; else it is left where the window system puts it.
    void restore_menu();
    // The preview, not shown yet: where the user left it when that leaves
    // the print data in view, else beside the menu window. The window system
    // may frame and move the windows as it shows them: once both are on the
    // screen the place is checked again with their real frames.
    void place_preview(QWidget& preview);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PreviewRoom room_for(const QWidget& preview) const;
    void check_preview();
    void put_preview(const PreviewPlacement& placement);

    QWidget& m_menu;
    const QWidget& m_print_data;
    UserSettings& m_settings;
    QPointer<QWidget> m_preview;
    // The preview's client size before it was fitted in.
    QSize m_wanted;
    bool m_checking = false;
};

} // namespace kvalon
