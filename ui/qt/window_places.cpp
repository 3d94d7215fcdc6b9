#include "ui/qt/window_places.h"

#include "ui/user_settings.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace kvalon {

namespace {
const std::string kMenuWindow = "menu";
const std::string kPreviewWindow = "preview";

// Less than this beside the menu window would show too little of the page
// and of its text.
constexpr int kLeastPreviewWidth = 640;
constexpr int kLeastPreviewHeight = 300;

WindowRect rect_of(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

std::vector<WindowRect> screen_rooms() {
    std::vector<WindowRect> rooms;
    for (const QScreen* screen : QGuiApplication::screens()) {
        rooms.push_back(rect_of(screen->availableGeometry()));
    }
    return rooms;
}

FrameMargins margins_of(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

bool is_framed(const QWidget& window) {
    return window.windowHandle() != nullptr && window.windowHandle()->isExposed();
}

WindowPlace place_of(const QWidget& window) {
    return {window.x(), window.y(), window.width(), window.height()};
}

// Qt moves a window by its frame's corner and sizes it by its client area.
void put(QWidget& window, const WindowPlace& place) {
    window.resize(place.width, place.height);
    window.move(place.left, place.top);
}
} // namespace

WindowPlaces::WindowPlaces(QWidget& menu, const QWidget& print_data, UserSettings& settings)
    : QObject(&menu), m_menu(menu), m_print_data(print_data), m_settings(settings) {
    m_menu.installEventFilter(this);
}

void WindowPlaces::restore_menu() {
    const std::optional<WindowPlace> place = m_settings.window_place(kMenuWindow);
    if (!place || !is_on_a_screen(*place, screen_rooms())) {
        return;
    }
    WindowPlace kept = *place;
    kept.width = std::max(kept.width, m_menu.minimumWidth());
    kept.height = std::max(kept.height, m_menu.minimumHeight());
    put(m_menu, kept);
}

PreviewRoom WindowPlaces::room_for(const QWidget& preview) const {
    PreviewRoom room;
    room.screens = screen_rooms();
    room.menu = rect_of(m_menu.frameGeometry());
    room.print_data = rect_of(QRect(m_print_data.mapToGlobal(QPoint(0, 0)), m_print_data.size()));
    // A window not shown yet has no frame: it will get one like the menu's.
    room.margins = margins_of(is_framed(preview) ? preview : m_menu);
    room.width = m_wanted.width();
    room.height = m_wanted.height();
    const QSize least =
        preview.minimumSizeHint().expandedTo(QSize(kLeastPreviewWidth, kLeastPreviewHeight));
    room.least_width = least.width();
    room.least_height = least.height();
    return room;
}

void WindowPlaces::place_preview(QWidget& preview) {
    m_preview = &preview;
    m_wanted = preview.size();
    std::optional<WindowPlace> kept;
    if (const std::optional<WindowPlace> left = m_settings.window_place(kPreviewWindow)) {
        m_wanted = QSize(left->width, left->height);
        kept = remembered_preview_place(room_for(preview), *left);
    }
    if (kept) {
        put(preview, *kept);
    } else {
        put_preview(kvalon::place_preview(room_for(preview)));
    }
    m_checking = true;
    // Whether a window is on the screen is its platform window's to say. A
    // platform window made before the window is placed would take the place
    // for its client area's, without the frame.
    preview.installEventFilter(this);
    for (QWidget* window : {&m_menu, &preview}) {
        window->winId();
        window->windowHandle()->installEventFilter(this);
    }
}

void WindowPlaces::put_preview(const PreviewPlacement& placement) {
    if (!(placement.menu == rect_of(m_menu.frameGeometry()))) {
        m_menu.move(placement.menu.left, placement.menu.top);
    }
    put(*m_preview, placement.preview);
}

// Checked once, when the preview is on the screen (the menu window, shown
// first, is by then): a window system that put the menu window elsewhere
// than it was asked to, or gave the preview a larger frame, may have put the
// preview over the print data. A menu window not on the screen then (made an
// icon) stays where it is known to be.
void WindowPlaces::check_preview() {
    if (!m_checking || !m_preview || !is_framed(*m_preview)) {
        return;
    }
    m_checking = false;
    const PreviewRoom room = room_for(*m_preview);
    if (intersects(rect_of(m_preview->frameGeometry()), room.print_data)) {
        put_preview(kvalon::place_preview(room));
    }
}

bool WindowPlaces::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Close:
        if (watched == &m_menu) {
            m_settings.remember_window_place(kMenuWindow, place_of(m_menu));
        } else if (watched == m_preview) {
            m_checking = false;
            m_settings.remember_window_place(kPreviewWindow, place_of(*m_preview));
        }
        break;
    case QEvent::Expose:
    case QEvent::Move:
        check_preview();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kvalon
