#pragma once

#include "dialogs/prompt.h"

#include <QList>

#include <functional>

// Answers the program's questions in tests and records everything it showed.
// An item choice answered with text takes the first item of that text; one
// answered with number() takes the item at that position.
// Answers are queued in the order the program will ask. Messages without a
// queued answer are acknowledged; any other request without one is cancelled
// and counted as unexpected, so a test sees a question it did not plan for.
// Outside a script no dialog ever shows: messages are acknowledged, anything
// else is cancelled, and each is reported as a warning. Installed by the
// test environment and again when a script ends.
void answerUnplannedPrompts();

class PromptScript {
public:
    PromptScript();
    ~PromptScript();
    PromptScript(const PromptScript&) = delete;
    PromptScript& operator=(const PromptScript&) = delete;

    PromptScript& button(QMessageBox::StandardButton button) { return queue(true, button, {}, 0); }
    // Text input, item choice or file name.
    PromptScript& text(const QString& text) { return queue(true, QMessageBox::NoButton, text, 0); }
    // Number input, or the position of an item.
    PromptScript& number(int value) { return queue(true, QMessageBox::NoButton, {}, value); }
    // A file name with the option chosen below the file dialog's list.
    PromptScript& file(const QString& name, int option) { return queue(true, QMessageBox::NoButton, name, option); }
    PromptScript& cancel() { return queue(false, QMessageBox::NoButton, {}, 0); }
    // A dialog of the program's own, accepted after fill (when given) has
    // read or changed its fields.
    PromptScript& accept(const std::function<void(QDialog*)>& fill = {});

    QList<PromptRequest> shown;
    int unexpected = 0;

private:
    PromptScript& queue(bool accepted, QMessageBox::StandardButton button, const QString& text, int value);
    PromptAnswer respond(const PromptRequest& request);

    QList<PromptAnswer> answers;
    QList<std::function<void(QDialog*)>> fills; // beside answers
};
