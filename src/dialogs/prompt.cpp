#include "dialogs/prompt.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QRadioButton>
#include <QRegularExpression>

namespace {
Prompt::Responder installedResponder;

// The toolkit's own file dialog, which can take widgets of ours: the
// options as a row of radio buttons below its list.
PromptAnswer openWithOptions(QWidget* parent, const PromptRequest& request)
{
    QFileDialog dialog(parent, request.title, QString(), request.filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setViewMode(QFileDialog::Detail);
    auto* options = new QWidget;
    auto* row = new QHBoxLayout(options);
    QButtonGroup group;
    for (int i = 0; i < request.items.size(); ++i) {
        auto* radio = new QRadioButton(request.items.at(i));
        radio->setChecked(i == request.value);
        group.addButton(radio, i);
        row->addWidget(radio);
    }
    row->addStretch();
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(options, grid->rowCount(), 0, 1, -1);
    PromptAnswer answer;
    answer.accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    answer.text = answer.accepted ? dialog.selectedFiles().first() : QString();
    answer.value = group.checkedId();
    return answer;
}

PromptAnswer showDialog(QWidget* parent, const PromptRequest& request)
{
    PromptAnswer answer;
    switch (request.kind) {
    case PromptRequest::Message:
    case PromptRequest::Question: {
        QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
        if (request.defaultButton != QMessageBox::NoButton)
            box.setDefaultButton(request.defaultButton);
        answer.button = QMessageBox::StandardButton(box.exec());
        answer.accepted = true;
        break;
    }
    case PromptRequest::Integer:
        answer.value = QInputDialog::getInt(parent, request.title, request.text, request.value,
                                            request.minimum, request.maximum, 1, &answer.accepted);
        break;
    case PromptRequest::Text:
        answer.text = QInputDialog::getText(parent, request.title, request.text, QLineEdit::Normal,
                                            request.initialText, &answer.accepted);
        break;
    case PromptRequest::Item: {
        QInputDialog dialog(parent);
        dialog.setWindowTitle(request.title);
        dialog.setLabelText(request.text);
        dialog.setComboBoxItems(request.items);
        dialog.setComboBoxEditable(false);
        answer.accepted = dialog.exec() == QDialog::Accepted;
        answer.text = dialog.textValue();
        // The dialog tells only the text; its list knows which entry it was.
        const auto* list = dialog.findChild<QComboBox*>();
        answer.value = list ? list->currentIndex() : int(request.items.indexOf(answer.text));
        break;
    }
    case PromptRequest::OpenFileName:
        if (request.items.isEmpty()) {
            answer.text = QFileDialog::getOpenFileName(parent, request.title, QString(), request.filter);
            answer.accepted = !answer.text.isEmpty();
        } else {
            answer = openWithOptions(parent, request);
        }
        break;
    case PromptRequest::SaveFileName:
        answer.text = QFileDialog::getSaveFileName(parent, request.title, QString(), request.filter);
        answer.accepted = !answer.text.isEmpty();
        break;
    case PromptRequest::Dialog:
        answer.accepted = request.dialog && request.dialog->exec() == QDialog::Accepted;
        break;
    case PromptRequest::Color: {
        const QColor color = QColorDialog::getColor(QColor(request.initialText), parent, request.title);
        answer.accepted = color.isValid();
        answer.text = color.name();
        break;
    }
    }
    return answer;
}

PromptRequest makeRequest(PromptRequest::Kind kind, const QString& title, const QString& text)
{
    PromptRequest request;
    request.kind = kind;
    request.title = title;
    request.text = text;
    return request;
}

PromptAnswer ask(QWidget* parent, const PromptRequest& request)
{
    return installedResponder ? installedResponder(request) : showDialog(parent, request);
}

void message(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text)
{
    PromptRequest request = makeRequest(PromptRequest::Message, title, text);
    request.icon = icon;
    ask(parent, request);
}
}

void Prompt::setResponder(const Responder& responder)
{
    installedResponder = responder;
}

void Prompt::critical(QWidget* parent, const QString& title, const QString& text)
{
    message(parent, QMessageBox::Critical, title, text);
}

void Prompt::warning(QWidget* parent, const QString& title, const QString& text)
{
    message(parent, QMessageBox::Warning, title, text);
}

void Prompt::information(QWidget* parent, const QString& title, const QString& text)
{
    message(parent, QMessageBox::Information, title, text);
}

QMessageBox::StandardButton Prompt::question(QWidget* parent, QMessageBox::Icon icon,
                                             const QString& title, const QString& text,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton)
{
    PromptRequest request = makeRequest(PromptRequest::Question, title, text);
    request.icon = icon;
    request.buttons = buttons;
    request.defaultButton = defaultButton;
    const PromptAnswer answer = ask(parent, request);
    return answer.accepted ? answer.button : QMessageBox::Cancel;
}

bool Prompt::getInt(QWidget* parent, const QString& title, const QString& label, int value,
                    int minimum, int maximum, int& result)
{
    PromptRequest request = makeRequest(PromptRequest::Integer, title, label);
    request.value = value;
    request.minimum = minimum;
    request.maximum = maximum;
    const PromptAnswer answer = ask(parent, request);
    if (!answer.accepted)
        return false;
    result = qBound(minimum, answer.value, maximum);
    return true;
}

bool Prompt::getText(QWidget* parent, const QString& title, const QString& label,
                     const QString& initial, QString& result)
{
    PromptRequest request = makeRequest(PromptRequest::Text, title, label);
    request.initialText = initial;
    const PromptAnswer answer = ask(parent, request);
    if (!answer.accepted)
        return false;
    result = answer.text;
    return true;
}

bool Prompt::getItem(QWidget* parent, const QString& title, const QString& label,
                     const QStringList& items, int& result)
{
    PromptRequest request = makeRequest(PromptRequest::Item, title, label);
    request.items = items;
    const PromptAnswer answer = ask(parent, request);
    if (!answer.accepted || answer.value < 0 || answer.value >= items.size())
        return false;
    result = answer.value;
    return true;
}

bool Prompt::exec(QDialog* dialog)
{
    PromptRequest request = makeRequest(PromptRequest::Dialog, dialog->windowTitle(), QString());
    request.dialog = dialog;
    return ask(dialog->parentWidget(), request).accepted;
}

bool Prompt::getColor(QWidget* parent, const QString& title, const QColor& initial, QColor& result)
{
    PromptRequest request = makeRequest(PromptRequest::Color, title, QString());
    request.initialText = initial.name();
    const PromptAnswer answer = ask(parent, request);
    const QColor chosen(answer.text);
    if (!answer.accepted || !chosen.isValid())
        return false;
    result = chosen;
    return true;
}

QString Prompt::getOpenFileName(QWidget* parent, const QString& caption, const QString& filter)
{
    PromptRequest request = makeRequest(PromptRequest::OpenFileName, caption, QString());
    request.filter = filter;
    const PromptAnswer answer = ask(parent, request);
    return answer.accepted ? answer.text : QString();
}

QString Prompt::getOpenFileName(QWidget* parent, const QString& caption, const QString& filter,
                                const QStringList& options, int& choice)
{
    PromptRequest request = makeRequest(PromptRequest::OpenFileName, caption, QString());
    request.filter = filter;
    request.items = options;
    request.value = choice;
    const PromptAnswer answer = ask(parent, request);
    if (!answer.accepted)
        return QString();
    if (answer.value >= 0 && answer.value < options.size())
        choice = answer.value;
    return answer.text;
}

QString Prompt::getSaveFileName(QWidget* parent, const QString& caption, const QString& filter)
{
    PromptRequest request = makeRequest(PromptRequest::SaveFileName, caption, QString());
    request.filter = filter;
    const PromptAnswer answer = ask(parent, request);
    if (!answer.accepted || answer.text.isEmpty())
        return QString();
    // A name typed without extension gets the filter's, so that the file
    // shows in the open dialogs, which list only that extension.
    static const QRegularExpression extension(QStringLiteral("\\*\\.(\\w+)"));
    const QRegularExpressionMatch match = extension.match(filter);
    if (match.hasMatch() && QFileInfo(answer.text).suffix().isEmpty())
        return answer.text + QLatin1Char('.') + match.captured(1);
    return answer.text;
}
