#pragma once

#include "model/project.h"

#include <QTreeWidget>

#include <functional>

// The project as a tree: one category per kind with its items sorted by
// name. Every node carries (node kind, identifier) as its data; categories
// have the identifier -1.
class ProjectTree : public QTreeWidget {
    Q_OBJECT

public:
    // Tells whether the open editor of an item (node kind, identifier) holds
    // unsaved changes; such items and their category are marked " *".
    using ModifiedQuery = std::function<bool(int nodeKind, qint32 id)>;

    explicit ProjectTree(QWidget* parent = nullptr);

    // Wide enough for an item name of 24 characters with its " *" mark.
    QSize sizeHint() const override;

    // Rebuilds every node; categories expanded before stay expanded.
    void rebuild(const Project& project, const ModifiedQuery& isEditorModified);

    QTreeWidgetItem* categoryItem(ItemKind kind) const;
    void expandCategory(ItemKind kind);

    static int nodeKindOf(const QTreeWidgetItem* item);
    static qint32 idOf(const QTreeWidgetItem* item);
    static QString categoryName(ItemKind kind);
};
