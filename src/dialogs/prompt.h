#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QWidget;

// What the program asks or tells the user.
struct PromptRequest {
    enum Kind { Message, Question, Integer, Text, Item, OpenFileName, SaveFileName, Color, Dialog };

    Kind kind = Message;
    QMessageBox::Icon icon = QMessageBox::NoIcon; // messages and questions
    QString title;                                 // window title or file dialog caption
    QString text;                                  // message text or input label
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QString initialText;                           // text input; a colour's name
    QStringList items;                             // item choice; options of an open dialog
    int value = 0, minimum = 0, maximum = 0;       // number input
    QString filter;                                // file dialogs
    QDialog* dialog = nullptr;                     // a dialog of the program's own
};

// The user's answer. A cancelled input or file dialog is not accepted.
struct PromptAnswer {
    bool accepted = false;
    QMessageBox::StandardButton button = QMessageBox::NoButton;
    QString text; // entered text, chosen item, file name or colour name (#rrggbb)
    int value = 0; // number, or the position of the chosen item
};

// Every message box, input dialog and file dialog of the program goes through
// these functions. Normally they show the toolkit's modal dialogs; a
// responder installed with setResponder answers instead, which is how tests
// answer questions and read what the program showed.
namespace Prompt {
using Responder = std::function<PromptAnswer(const PromptRequest&)>;
void setResponder(const Responder& responder); // an empty responder restores the dialogs

void critical(QWidget* parent, const QString& title, const QString& text);
void warning(QWidget* parent, const QString& title, const QString& text);
void information(QWidget* parent, const QString& title, const QString& text);
QMessageBox::StandardButton question(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                     const QString& text, QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton defaultButton);

// Each returns false when the user cancelled; the result is then unchanged.
bool getInt(QWidget* parent, const QString& title, const QString& label, int value, int minimum,
            int maximum, int& result);
bool getText(QWidget* parent, const QString& title, const QString& label, const QString& initial,
             QString& result);
// A choice among items (not editable), starting at the first. The result is
// the position of the chosen item, so equal texts stay apart.
bool getItem(QWidget* parent, const QString& title, const QString& label, const QStringList& items,
             int& result);

// Runs a dialog of the program's own; true when it was accepted. A
// responder may change the dialog's fields before accepting it.
bool exec(QDialog* dialog);

// A colour from the colour dialog, starting at initial.
bool getColor(QWidget* parent, const QString& title, const QColor& initial, QColor& result);

// The chosen file name, empty when cancelled.
QString getOpenFileName(QWidget* parent, const QString& caption, const QString& filter);
// The same, with options as radio buttons below the dialog's list: choice
// is the one checked first, and then the one chosen.
QString getOpenFileName(QWidget* parent, const QString& caption, const QString& filter, const QStringList& options,
                        int& choice);
// The same; a name without extension gets the first one of the filter.
QString getSaveFileName(QWidget* parent, const QString& caption, const QString& filter);
}
