#include "ui/qt/window_icon.h"

namespace kvalon {

QIcon window_icon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/kvalon-p-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/icons/kvalon-p-64.png"), QSize(64, 64));
    return icon;
}

} // namespace kvalon
