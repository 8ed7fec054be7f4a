// Project files, as the program and the companion read them. The layout is
// not canonical (older versions are upgraded, a name ends at a zero byte,
// repeated slots collapse, images stored short fill up, zooms that are no
// number read as the default), so a project read must write bytes that read
// as the same project and write again the very same bytes. Every item and
// animation then exports as the companion exports it, or is refused: a tiny
// file may name a huge item.
#include "cli/exports.h"
#include "exchange/projectjson.h"
#include "fuzzcheck.h"
#include "model/projectfile.h"

namespace {
void exportEveryItem(const Project& project)
{
    QStringList names;
    for (ItemKind kind : allItemKinds) {
        for (const QSharedPointer<Dataset>& item : project.datasets(kind)) {
            const QString name = ItemRef::kindWord(kind) + QLatin1Char(':') + QString::number(item->id);
            names.append(name);
            if (isImagesetKind(kind)) {
                for (int a = 0; a < item.staticCast<Imageset>()->animations.animations.size(); ++a)
                    names.append(name + QStringLiteral("/anim:%1").arg(a));
            }
        }
    }
    const QStringList everyOption {"--rle", "--comments", "--colors", "--selection", "--base", "dec"};
    for (const QString& name : names) {
        for (const QStringList& options : {QStringList(), everyOption}) {
            try {
                const ExportedItem exported = exportItem(project, parseArguments(QStringList {"export", "p", name} + options));
                TextFormat(exported.options).text(exported.sections);
            } catch (const Failure&) {
            }
        }
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Project project;
    const ProjectReadResult result = ProjectFile::parse(fuzz::bytes(data, size), project);
    if (!result.ok())
        return 0;
    const QByteArray written = ProjectFile::serialize(project);
    Project again;
    fuzz::require(ProjectFile::parse(written, again).ok(), "a written project reads");
    fuzz::require(fuzz::sameProject(project, again), "a written project reads as the same project");
    fuzz::require(ProjectFile::serialize(again) == written, "a project read again writes the same bytes");
    ProjectJson::dump(project, result.version);
    exportEveryItem(project);
    return 0;
}
