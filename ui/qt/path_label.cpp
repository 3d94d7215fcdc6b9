#include "ui/qt/path_label.h"

#include <QFontMetrics>

namespace kvalon {

PathLabel::PathLabel(QWidget* parent) : QLabel(parent) {}

void PathLabel::set_path(const QString& path) {
    m_path = path;
    setToolTip(path);
    elide();
}

void PathLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

// The folders give way first, from their middle; the file name only when it
// alone is wider than the label, and then from its start.
void PathLabel::elide() {
    const QFontMetrics metrics = fontMetrics();
    const int room = contentsRect().width() - 2 * margin();
    if (metrics.horizontalAdvance(m_path) <= room) {
        setText(m_path);
        return;
    }
    const qsizetype slash = m_path.lastIndexOf(QLatin1Char('/'));
    const QString name = m_path.mid(slash + 1);
    const QString folders = m_path.left(slash + 1);
    const int folder_room = room - metrics.horizontalAdvance(name);
    const QString ellipsis(QChar(0x2026));
    if (slash < 0 || folder_room < metrics.horizontalAdvance(ellipsis + QLatin1Char('/'))) {
        setText(metrics.elidedText(m_path, Qt::ElideLeft, room));
        return;
    }
    setText(metrics.elidedText(folders, Qt::ElideMiddle, folder_room) + name);
}

} // namespace kvalon
