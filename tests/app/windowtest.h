#pragma once

// Helpers of the tests that drive the main window: a shown window, the kinds
// of prompts shown as letters, and a stand-in editor for the kinds of items
// that have no editor of their own.

#include "app/mosaikon.h"
#include "model/document.h"
#include "project/documenteditor.h"
#include "support/promptscript.h"

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
    window->resize(1000, 700);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("the main window did not become active");
    return window;
}

// One letter per prompt shown: O open dialog, S save dialog, Q question,
// E error message, M other message, I number, T text, C choice.
inline QString promptKinds(const PromptScript& script)
{
    QString kinds;
    for (const PromptRequest& request : script.shown) {
        if (request.kind == PromptRequest::Message)
            kinds += request.icon == QMessageBox::Critical ? QLatin1Char('E') : QLatin1Char('M');
        else
            kinds += QStringLiteral("MQITCOS").at(int(request.kind));
    }
    return kinds;
}
