#pragma once

#include "exchange/exportoptions.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QSpinBox;
class QTimer;

// "Export data", shared by every kind of item: the assembler text, made
// anew whenever an option changes, the options themselves, and the text
// copied to the clipboard or saved to a file. The editor keeps the options
// and takes them back when the dialog is accepted.
class ExportDialog : public QDialog {
    Q_OBJECT

public:
    // An item flag of the options with its check box.
    struct Flag {
        const char* objectName;
        const char* text;
        bool ExportDataOptions::*field;
    };
    // Whether the kind has comments, and whether the comment prefix offers
    // the presets ";" and "//".
    enum class Comments { None, Free, Presets };
    using Generator = std::function<QString(const ExportDataOptions& options)>;

    ExportDialog(const ExportDataOptions& options, const QList<Flag>& flags, Comments comments, Generator generate,
                 QWidget* parent = nullptr);

    // The options as the controls show them.
    ExportDataOptions options() const;
    QString text() const;

public slots:
    void exportData();
    // The text as it stands, edits included, on the clipboard (and the
    // selection clipboard where there is one).
    void copyToClipboard();
    void saveToFile();

private:
    Generator generate;
    // Typing in a box changes an option per key: the text is made once
    // the typing has been handled.
    QTimer* refresh;
    ExportDataOptions base; // the flags without check boxes stay as they were
    QList<std::pair<QCheckBox*, bool ExportDataOptions::*>> flagBoxes;
    QPlainTextEdit* textEdit;
    QLabel* lblStatus;
    QSpinBox* spxIndentSpaces;
    QSpinBox* spxDataPerLine;
    QComboBox* cbxDataPrefix;
    QComboBox* cbxBase;
    QComboBox* cbxHexPrefix;
    QComboBox* cbxSeparator;
    QComboBox* cbxComments;
};

// "Import data": assembler text to read into the chosen slots.
class ImportDataDialog : public QDialog {
    Q_OBJECT

public:
    explicit ImportDataDialog(const QString& text, QWidget* parent = nullptr);
    QString text() const;

private:
    QPlainTextEdit* textEdit;
};
