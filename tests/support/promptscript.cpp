#include "support/promptscript.h"

PromptScript::PromptScript()
{
    Prompt::setResponder([this](const PromptRequest& request) { return respond(request); });
}

PromptScript::~PromptScript()
{
    Prompt::setResponder({});
}

PromptScript& PromptScript::button(QMessageBox::StandardButton button)
{
    PromptAnswer answer;
    answer.accepted = true;
    answer.button = button;
    answers.append(answer);
    return *this;
}

PromptScript& PromptScript::text(const QString& text)
{
    PromptAnswer answer;
    answer.accepted = true;
    answer.text = text;
    answers.append(answer);
    return *this;
}

PromptScript& PromptScript::number(int value)
{
    PromptAnswer answer;
    answer.accepted = true;
    answer.value = value;
    answers.append(answer);
    return *this;
}

PromptScript& PromptScript::cancel()
{
    answers.append(PromptAnswer());
    return *this;
}

QStringList PromptScript::texts() const
{
    QStringList result;
    for (const PromptRequest& request : shown)
        result.append(request.text);
    return result;
}

PromptAnswer PromptScript::respond(const PromptRequest& request)
{
    shown.append(request);
    if (!answers.isEmpty()) {
        PromptAnswer answer = answers.takeFirst();
        if (request.kind == PromptRequest::Item && !answer.text.isEmpty())
            answer.value = int(request.items.indexOf(answer.text));
        return answer;
    }
    PromptAnswer answer;
    if (request.kind == PromptRequest::Message) {
        answer.accepted = true;
        answer.button = QMessageBox::Ok;
    } else {
        ++unexpected;
    }
    return answer;
}
