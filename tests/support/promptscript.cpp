#include "support/promptscript.h"

PromptScript::PromptScript()
{
    Prompt::setResponder([this](const PromptRequest& request) { return respond(request); });
}

PromptScript::~PromptScript()
{
    answerUnplannedPrompts();
}

void answerUnplannedPrompts()
{
    Prompt::setResponder([](const PromptRequest& request) {
        qWarning("a prompt no test planned for: %s", qPrintable(request.title));
        const bool message = request.kind == PromptRequest::Message;
        return PromptAnswer {message, message ? QMessageBox::Ok : QMessageBox::NoButton, {}, 0};
    });
}

PromptScript& PromptScript::queue(bool accepted, QMessageBox::StandardButton button, const QString& text, int value)
{
    PromptAnswer answer;
    answer.accepted = accepted;
    answer.button = button;
    answer.text = text;
    answer.value = value;
    answers.append(answer);
    fills.append(std::function<void(QDialog*)>());
    return *this;
}

PromptScript& PromptScript::accept(const std::function<void(QDialog*)>& fill)
{
    queue(true, QMessageBox::Ok, {}, 0);
    fills.last() = fill;
    return *this;
}

PromptAnswer PromptScript::respond(const PromptRequest& request)
{
    shown.append(request);
    if (!answers.isEmpty()) {
        PromptAnswer answer = answers.takeFirst();
        const std::function<void(QDialog*)> fill = fills.takeFirst();
        if (fill && request.dialog)
            fill(request.dialog);
        if (request.kind == PromptRequest::Item && !answer.text.isEmpty())
            answer.value = int(request.items.indexOf(answer.text));
        return answer;
    }
    // Messages are acknowledged; anything else unplanned is cancelled.
    const bool message = request.kind == PromptRequest::Message;
    unexpected += !message;
    return {message, message ? QMessageBox::Ok : QMessageBox::NoButton, {}, 0};
}
