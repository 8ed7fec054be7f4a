// The program the recovery test starts and kills: the real main window in
// the test program's data folder, holding one unsaved change in the editor
// of the first character set of the project file (of a new untitled project
// when no file is given).
//
//   recovery_child TEST-PROGRAM-NAME [PROJECT-FILE]

#include "app/windowtest.h"
#include "project/itemcommands.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QCoreApplication::setApplicationName(arguments.value(1));
    TestEnvironment environment;
    Mosaikon window;
    window.show();
    if (arguments.size() > 2)
        window.readProject(arguments.at(2));
    else
        window.itemCommands()->addNew(ItemKind::Charset);
    editImageset(window, CharsetNode, window.currentProject().charsets.at(0)->id);
    return QApplication::exec();
}
