#include "project/itemcommands.h"

#include "dialogs/prompt.h"
#include "model/itemfile.h"
#include "project/mdichild.h"
#include "project/projecttree.h"

#include <QMdiArea>
#include <QMenu>

namespace {
const QString errorTitle = QStringLiteral("Error!");
}

ItemCommands::ItemCommands(Project& project, ProjectTree* tree, QMdiArea* editors, QWidget* window)
    : QObject(window)
    , project(project)
    , tree(tree)
    , editors(editors)
    , window(window)
{
}

QString ItemCommands::fileFilter(ItemKind kind)
{
    return QStringLiteral("Mosaikon %1 (*.%2)").arg(Project::label(kind), QLatin1String(kindInfo(kind).extension));
}

QMenu* ItemCommands::contextMenu(QTreeWidgetItem* node, QWidget* parent)
{
    const int nodeKind = ProjectTree::nodeKindOf(node);
    if (!isKnownNode(nodeKind))
        return nullptr;
    const ItemKind kind = itemKindOf(nodeKind);
    auto* menu = new QMenu(parent);

    if (isItemNode(nodeKind)) {
        const qint32 id = ProjectTree::idOf(node);
        menu->addAction(QStringLiteral("Rename..."), this, [=] { rename(kind, id); });
        menu->addAction(QStringLiteral("Clone"), this, [=] { clone(kind, id); });
        menu->addAction(QStringLiteral("Delete"), this, [=] { remove(kind, id); });
        menu->addSeparator();
        menu->addAction(QStringLiteral("Export..."), this, [=] { exportItem(kind, id); });
        return menu;
    }

    const bool tilesets = kind == ItemKind::Tileset;
    menu->addAction(QStringLiteral("Add new%1").arg(tilesets ? QStringLiteral("...") : QString()),
                    this, [=] { addNew(kind); });
    menu->addSeparator();
    if (tilesets) {
        menu->addAction(QStringLiteral("Build from charset (1x1)..."), this,
                        [=] { buildTileset(ItemKind::Charset); })
            ->setEnabled(!project.charsets.isEmpty());
        menu->addAction(QStringLiteral("Build from blockset (1x1)..."), this,
                        [=] { buildTileset(ItemKind::Blockset); })
            ->setEnabled(!project.blocksets.isEmpty());
        menu->addSeparator();
    }
    menu->addAction(QStringLiteral("Import..."), this, [=] { importItem(kind); });
    return menu;
}

void ItemCommands::addNew(ItemKind kind)
{
    tree->expandCategory(kind);
    int tileWidth = 1;
    int tileHeight = 1;
    if (kind == ItemKind::Tileset) {
        if (!Prompt::getInt(window, QStringLiteral("Tile width"), QStringLiteral("Width (in chars):"),
                            1, 1, Tileset::maxTileSide, tileWidth)
            || !Prompt::getInt(window, QStringLiteral("Tile height"),
                               QStringLiteral("Height (in chars):"), 1, 1, Tileset::maxTileSide,
                               tileHeight))
            return;
    }
    project.addItem(kind, tileWidth, tileHeight);
    emit projectChanged();
}

void ItemCommands::buildTileset(ItemKind imagesetKind)
{
    const bool charsets = imagesetKind == ItemKind::Charset;
    const QList<QSharedPointer<Imageset>>& sets = charsets ? project.charsets : project.blocksets;
    QStringList names;
    for (const QSharedPointer<Imageset>& set : sets)
        names.append(set->name);

    int chosen = 0;
    if (!Prompt::getItem(window,
                         charsets ? QStringLiteral("Select charset") : QStringLiteral("Select blockset"),
                         charsets ? QStringLiteral("Charset: ") : QStringLiteral("Blockset: "), names,
                         chosen))
        return;
    tree->expandCategory(ItemKind::Tileset);
    project.buildTileset(imagesetKind, sets.at(chosen)->id);
    emit projectChanged();
}

void ItemCommands::importItem(ItemKind kind)
{
    const QString path =
        Prompt::getOpenFileName(window, QStringLiteral("Import..."), fileFilter(kind));
    if (path.isEmpty())
        return;

    // The item is numbered and named as a new item, whatever the file holds.
    const QSharedPointer<Dataset> item = project.makeItem(kind);
    switch (ItemFile::read(path, *item)) {
    case ItemFileResult::CannotOpen:
        Prompt::critical(window, errorTitle, QStringLiteral("Unable to open the file '%1'!").arg(path));
        return;
    case ItemFileResult::BadFile:
        Prompt::critical(
            window, errorTitle,
            QStringLiteral("Unable to import the file '%1', bad file or unknown version!").arg(path));
        return;
    case ItemFileResult::Ok:
        break;
    }
    project.append(kind, item);
    emit projectChanged();
}

void ItemCommands::rename(ItemKind kind, qint32 id)
{
    const QSharedPointer<Dataset> item = project.find(kind, id);
    if (!item)
        return;
    QString entered;
    if (!Prompt::getText(window, QStringLiteral("New name"), QStringLiteral("Name:"), item->name,
                         entered))
        return;
    const QString name = entered.trimmed();
    if (name.isEmpty())
        return;
    // The item's own name counts too: a change of case alone is refused.
    if (project.nameTaken(kind, name)) {
        Prompt::critical(window, errorTitle, QStringLiteral("This name already exists!"));
        return;
    }
    item->name = name;
    if (MdiChild* editor = findEditor(editors, {itemNodeOf(kind), id}))
        editor->setName(name);
    emit projectChanged();
}

void ItemCommands::clone(ItemKind kind, qint32 id)
{
    if (project.cloneItem(kind, id))
        emit projectChanged();
}

void ItemCommands::remove(ItemKind kind, qint32 id)
{
    const QSharedPointer<Dataset> item = project.find(kind, id);
    if (!item)
        return;
    const QMessageBox::StandardButton answer = Prompt::question(
        window, QMessageBox::Warning, QStringLiteral("Warning!"),
        QStringLiteral("The deletion of '%1' cannot be undone. Are you sure?\n").arg(item->name),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;

    if (MdiChild* editor = findEditor(editors, {itemNodeOf(kind), id})) {
        editor->forceClose = true;
        QWidget* frame = editor->parentWidget() ? editor->parentWidget() : editor;
        if (!frame->close())
            return;
    }
    project.remove(kind, id);
    // Editors that draw the removed item now show a reference that resolves
    // to nothing: tile sets draw character sets, screens draw character
    // sets, block sets and tile sets.
    for (MdiChild* editor : editorWindows(editors)) {
        const int editorKind = editor->itemKey.nodeKind;
        const bool drawsIt = editorKind == ScreenNode
            ? kind == ItemKind::Charset || kind == ItemKind::Blockset || kind == ItemKind::Tileset
            : editorKind == TilesetNode && kind == ItemKind::Charset;
        if (drawsIt)
            editor->invalidateCache();
    }
    emit projectChanged();
}

void ItemCommands::exportItem(ItemKind kind, qint32 id)
{
    const QSharedPointer<Dataset> item = project.find(kind, id);
    if (!item)
        return;
    const QString path =
        Prompt::getSaveFileName(window, QStringLiteral("Export as..."), fileFilter(kind));
    if (path.isEmpty())
        return;
    if (!ItemFile::write(path, *item))
        Prompt::critical(window, errorTitle, QStringLiteral("Unable to save the file '%1'!").arg(path));
}
