#pragma once

// Helpers of the tests that drive the main window: a shown window, answers
// and prompts written as short strings, and a stand-in editor for the kinds
// of items that have no editor of their own.

#include "app/mosaikon.h"
#include "editors/imageset/imageseteditor.h"
#include "model/document.h"
#include "support/promptscript.h"
#include "support/testenvironment.h"

#include <QtTest>

#include <memory>

// An editor over a copy of a tile set or a screen that counts its redraws.
template<typename Item>
class CountingEditor : public DocumentEditor {
public:
    CountingEditor(const Item& item, int nodeKind, EditorServices* services)
        : DocumentEditor(nodeKind, new ItemDocument<Item>(item), services)
    {
    }
    void invalidateCache() override { ++redraws; }
    int redraws = 0;

protected:
    QString unsavedQuestion() const override { return {}; }
};

inline std::unique_ptr<Mosaikon> openWindow()
{
    auto window = std::make_unique<Mosaikon>();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("the main window did not become active");
    return window;
}

// An image-set editor in a window of its own, shown at a size.
inline std::unique_ptr<ImagesetEditor> showImagesetEditor(const Imageset& set, const QSize& size)
{
    std::unique_ptr<ImagesetEditor> editor(new ImagesetEditor(set, itemNodeOf(Imageset::itemKindOf(set.type))));
    editor->resize(size);
    editor->show();
    return editor;
}

// Opens the editor of an image set and sets a colour (to 9) in it.
inline ImagesetEditor* editImageset(Mosaikon& window, int nodeKind, qint32 id)
{
    auto* editor = static_cast<ImagesetEditor*>(window.openEditor({nodeKind, id}, true, false));
    editor->setMultiColor01(9);
    return editor;
}

// One letter per prompt shown: O open dialog, S save dialog, Q question,
// E error message, M other message, I number, T text, C choice, K colour,
// D a dialog of the program's own.
inline QString promptKinds(const PromptScript& script)
{
    QString kinds;
    for (const PromptRequest& request : script.shown)
        kinds += request.icon == QMessageBox::Critical ? QChar('E') : QStringLiteral("MQITCOSKD").at(int(request.kind));
    return kinds;
}

// Queues answers written as "Yes|No|Cancel|!|#2|@name|text": buttons, a
// cancel, a number or position, a file in the test's directory, a text.
inline void queueAnswers(PromptScript& script, const QString& answers, const TestEnvironment& environment)
{
    for (const QString& answer : answers.split('|', Qt::SkipEmptyParts)) {
        if (answer == "Yes" || answer == "No" || answer == "Cancel")
            script.button(answer == "Yes" ? QMessageBox::Yes : answer == "No" ? QMessageBox::No : QMessageBox::Cancel);
        else if (answer == "!")
            script.cancel();
        else if (answer.startsWith('#'))
            script.number(answer.mid(1).toInt());
        else
            script.text(answer.startsWith('@') ? environment.path(answer.mid(1)) : answer);
    }
}
