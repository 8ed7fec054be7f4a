#pragma once

#include <QSplitter>

// A splitter that lays its panes side by side while they all fit at their
// minimum widths, and stacks them top to bottom when the window is narrower,
// so that no pane is ever squeezed below what its controls need.
class FittingSplitter : public QSplitter {
    Q_OBJECT

public:
    explicit FittingSplitter(QWidget* parent = nullptr);

    // The width the panes need side by side.
    int sideBySideWidth() const;
    // As narrow as the widest pane, since narrower windows stack the panes.
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
};
