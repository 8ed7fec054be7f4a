#pragma once

#include "model/project.h"

#include <QMainWindow>

#include <functional>

class EditorServices;
class ItemCommands;
class MdiChild;
struct ItemKey;
class QMdiArea;
class ProjectTree;
class RecoveryCopy;
struct ProjectReadResult;
class QTreeWidgetItem;

// The main window: the project as a tree on the left, one editor window per
// opened item in the multi-document area on the right, and the project
// commands (new, open, save, recent files, exit).
class Mosaikon : public QMainWindow {
    Q_OBJECT

public:
    explicit Mosaikon(QWidget* parent = nullptr);
    ~Mosaikon() override;

    // The project counts as unsaved while it or any open editor holds changes.
    bool isUnsaved() const;

    const Project& currentProject() const { return project; }
    QString projectPath() const { return path; }
    ProjectTree* projectTree() const { return tree; }
    QMdiArea* editorArea() const { return mdiArea; }
    ItemCommands* itemCommands() const { return commands; }
    EditorServices* editorServices() const { return services; }
    RecoveryCopy* recoveryCopy() const { return recovery; }

    // Reads a project file into the (already emptied) project; on failure the
    // user is told why and the project stays empty and untitled.
    bool readProject(const QString& fileName);
    // Writes the project with the open editors' states; when the file cannot
    // be opened the user is told and nothing changes.
    bool writeProject(const QString& fileName);
    // At start-up: asks whether to take up the work a crashed or killed
    // program left; it comes back unsaved, under the file it was read from.
    void offerRecovery();

    // Opens the item's editor, or finds the one already open: with activate
    // it becomes the active window (restored when minimized); a new editor
    // starts minimized when asked.
    MdiChild* openEditor(const ItemKey& key, bool activate, bool minimized);

public slots:
    void customMenuRequested(const QPoint& pos);
    void itemDoubleClicked(QTreeWidgetItem* item, int column);
    bool newProject();
    bool open();
    bool save();
    bool saveAs();
    void tile();
    void tileHorz();
    void tileVert();
    void cascade();
    bool closeAll();
    void disclaimer();
    void about();
    void updateTitle();
    void rebuildTreeWidgetNodes();
    void undo();
    void redo();
    void activateNextSubWindow();
    void activatePreviousSubWindow();
    void updateRecentFileActions();
    void openRecentFile();
    void updateMenus();
    void showVicIICalculator();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createTree();
    void projectChanged();
    // Shows the project just read into the project, as the project of the
    // file savedTo (untitled when empty), unsaved or not; a failed read is
    // reported naming the file read, and changes nothing.
    bool takeReadProject(const ProjectReadResult& result, const QString& fileRead, const QString& savedTo,
                         bool unsaved);
    // Asks whether to save an unsaved project first, then runs the
    // continuation; false when the user cancelled or saving failed.
    bool askToSaveProject(const std::function<bool()>& continuation);
    void showRecentMenuIfUsed(const QStringList& files);
    // Lays the editor windows side by side (horizontal) or stacked.
    void tileInLine(bool horizontal);
    MdiChild* activeEditor() const;
    // Stores an editor's hand-back into the project's dataset of that kind.
    void storeHandBack(ItemKind kind, const Dataset& copy);

    Project project;
    QString path;
    bool modified = false;

    ProjectTree* tree = nullptr;
    QMdiArea* mdiArea = nullptr;
    ItemCommands* commands = nullptr;
    EditorServices* services = nullptr;
    RecoveryCopy* recovery = nullptr;

    QAction* newAct = nullptr;
    QAction* openAct = nullptr;
    QAction* saveAct = nullptr;
    QAction* saveAsAct = nullptr;
    QAction* exitAct = nullptr;
    QAction* undoAct = nullptr;
    QAction* redoAct = nullptr;
    QAction* vicIICalculatorAct = nullptr;
    QAction* closeAllAct = nullptr;
    QAction* cascadeAct = nullptr;
    QAction* tileAct = nullptr;
    QAction* tileHorzAct = nullptr;
    QAction* tileVertAct = nullptr;
    QAction* nextAct = nullptr;
    QAction* previousAct = nullptr;
    QAction* aboutAct = nullptr;
    QAction* disclaimerAct = nullptr;
    QAction* recentSubmenuAct = nullptr;
    QAction* recentSeparator = nullptr;
    QList<QAction*> recentFileActs;
};
