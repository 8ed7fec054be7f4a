#pragma once

#include <QSpinBox>

// A spin box that leaves Copy, Paste, Undo and Redo to the window's
// shortcuts: while it has focus, Ctrl+Z undoes an editor step instead of
// the typing in the box.
class CustomSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit CustomSpinBox(QWidget* parent = nullptr);
    ~CustomSpinBox() override;

    bool eventFilter(QObject* watched, QEvent* event) override;
};
