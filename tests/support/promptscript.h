#pragma once

#include "dialogs/prompt.h"

#include <QList>

// Answers the program's questions in tests and records everything it showed.
// An item choice answered with text takes the first item of that text; one
// answered with number() takes the item at that position.
// Answers are queued in the order the program will ask. Messages without a
// queued answer are acknowledged; any other request without one is cancelled
// and counted as unexpected, so a test sees a question it did not plan for.
class PromptScript {
public:
    PromptScript();
    ~PromptScript();
    PromptScript(const PromptScript&) = delete;
    PromptScript& operator=(const PromptScript&) = delete;

    PromptScript& button(QMessageBox::StandardButton button);
    PromptScript& text(const QString& text);   // text input, item choice or file name
    PromptScript& number(int value);           // number input, or the position of an item
    PromptScript& cancel();

    QList<PromptRequest> shown;
    int unexpected = 0;
    int pendingAnswers() const { return answers.size(); }

    // The last request shown, for messages the test checks.
    PromptRequest last() const { return shown.isEmpty() ? PromptRequest() : shown.last(); }
    QStringList texts() const;

private:
    PromptAnswer respond(const PromptRequest& request);

    QList<PromptAnswer> answers;
};
