#include "project/projecttree.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSet>
#include <QSignalBlocker>

#include <algorithm>

namespace {
const QString modifiedMark = QStringLiteral(" *");

QTreeWidgetItem* makeNode(const QString& text, int nodeKind, qint32 id)
{
    auto* node = new QTreeWidgetItem(QStringList(text));
    node->setData(0, Qt::UserRole, QVariantList {nodeKind, id});
    return node;
}
}

ProjectTree::ProjectTree(QWidget* parent)
    : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderLabel(QStringLiteral("Project Items"));
    setMinimumWidth(128);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The column is as wide as the longest name and at least as the tree, so
    // that a selection spans the whole row.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QSize ProjectTree::sizeHint() const
{
    const int name = 24 * fontMetrics().averageCharWidth() + fontMetrics().horizontalAdvance(modifiedMark);
    // An item sits two indentation steps in: below its category, which has
    // an expand arrow of its own.
    const int width = name + 2 * indentation() + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    return QSize(width, QTreeWidget::sizeHint().height());
}

QString ProjectTree::categoryName(ItemKind kind)
{
    return QLatin1String(kindInfo(kind).category);
}

int ProjectTree::nodeKindOf(const QTreeWidgetItem* item)
{
    return item->data(0, Qt::UserRole).toList().value(0, -1).toInt();
}

qint32 ProjectTree::idOf(const QTreeWidgetItem* item)
{
    return item->data(0, Qt::UserRole).toList().value(1, -1).toInt();
}

QTreeWidgetItem* ProjectTree::categoryItem(ItemKind kind) const
{
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (nodeKindOf(topLevelItem(i)) == categoryNodeOf(kind))
            return topLevelItem(i);
    }
    return nullptr;
}

void ProjectTree::expandCategory(ItemKind kind)
{
    if (QTreeWidgetItem* category = categoryItem(kind))
        category->setExpanded(true);
}

void ProjectTree::rebuild(const Project& project, const ModifiedQuery& isEditorModified)
{
    QSet<int> expandedKinds;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->isExpanded())
            expandedKinds.insert(nodeKindOf(topLevelItem(i)));
    }

    {
        const QSignalBlocker blocker(selectionModel());
        clear();
    }

    QList<QTreeWidgetItem*> categories;
    for (ItemKind kind : allItemKinds) {
        const int itemNode = itemNodeOf(kind);
        QList<QSharedPointer<Dataset>> items = project.datasets(kind);
        // Sorted for display only, case-sensitively; the project keeps creation order.
        std::stable_sort(items.begin(), items.end(),
                         [](const QSharedPointer<Dataset>& a, const QSharedPointer<Dataset>& b) {
                             return a->name < b->name;
                         });

        QTreeWidgetItem* category = makeNode(categoryName(kind), categoryNodeOf(kind), -1);
        bool anyModified = false;
        for (const QSharedPointer<Dataset>& item : items) {
            const bool modified = isEditorModified && isEditorModified(itemNode, item->id);
            anyModified = anyModified || modified;
            QTreeWidgetItem* node =
                makeNode(item->name + (modified ? modifiedMark : QString()), itemNode, item->id);
            node->setToolTip(0, QStringLiteral("Id: %1").arg(item->id));
            category->addChild(node);
        }
        if (anyModified)
            category->setText(0, categoryName(kind) + modifiedMark);
        categories.append(category);
    }

    insertTopLevelItems(0, categories);
    for (QTreeWidgetItem* category : categories) {
        if (expandedKinds.contains(nodeKindOf(category)))
            category->setExpanded(true);
    }
}
