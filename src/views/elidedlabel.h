#pragma once

#include <QLabel>

// A one-line label that, when narrower than its text, shows as much of the
// text as fits followed by "…" instead of cutting it off or pushing its
// neighbours aside. Its minimum width is a few characters.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
