#pragma once

#include "model/project.h"

#include <QObject>

class QMdiArea;
class QMenu;
class QTreeWidgetItem;
class ProjectTree;

// The commands of the project tree's context menu: add, build, import,
// rename, clone, delete and export items. Every change to the project is
// announced with projectChanged(); the main window then rebuilds the tree,
// marks the project modified and updates its title.
class ItemCommands : public QObject {
    Q_OBJECT

public:
    ItemCommands(Project& project, ProjectTree* tree, QMdiArea* editors, QWidget* window);

    // The context menu of a tree node, its actions connected to the commands
    // below; null for a node without menu. The caller owns the menu.
    QMenu* contextMenu(QTreeWidgetItem* node, QWidget* parent);

    void addNew(ItemKind kind);
    void buildTileset(ItemKind imagesetKind);
    void importItem(ItemKind kind);
    void rename(ItemKind kind, qint32 id);
    void clone(ItemKind kind, qint32 id);
    void remove(ItemKind kind, qint32 id);
    void exportItem(ItemKind kind, qint32 id);

    // "Mosaikon Charset (*.mzchar)" and so on: the file type of a kind.
    static QString fileFilter(ItemKind kind);

signals:
    void projectChanged();

private:
    Project& project;
    ProjectTree* tree;
    QMdiArea* editors;
    QWidget* window;
};
