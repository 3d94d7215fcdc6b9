#pragma once

#include <QLabel>

namespace kvalon {

// A label for a path: when the path is wider than the label, its middle gives
// way to "…" so that the file name at its end always shows; the whole path is
// the tooltip.
class PathLabel final : public QLabel {
    Q_OBJECT
public:
    explicit PathLabel(QWidget* parent = nullptr);

    void set_path(const QString& path);
    const QString& path() const { return m_path; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString m_path;
};

} // namespace kvalon
