#include "cli/itemref.h"

#include <QRegularExpression>

QString ItemRef::kindWord(ItemKind kind)
{
    return Project::label(kind).toLower();
}

bool ItemRef::parse(const QString& text, ItemRef& ref)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(charset|spriteset|blockset|tileset|screen):(\\d+)(?:/anim:(\\d+)(?:/frame:(\\d+))?)?$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    bool ok = true;
    for (ItemKind kind : allItemKinds) {
        if (kindWord(kind) == match.captured(1))
            ref.kind = kind;
    }
    ref.id = match.captured(2).toInt(&ok);
    if (!ok)
        return false;
    ref.animation = match.captured(3).isEmpty() ? -1 : match.captured(3).toInt(&ok);
    if (!ok)
        return false;
    ref.frame = match.captured(4).isEmpty() ? -1 : match.captured(4).toInt(&ok);
    if (!ok)
        return false;
    // Only image sets own animations.
    return ref.animation < 0 || ref.kind == ItemKind::Charset || ref.kind == ItemKind::Spriteset
        || ref.kind == ItemKind::Blockset;
}

ResolvedItem resolveItem(const Project& project, const ItemRef& ref, const QString& text)
{
    ResolvedItem result;
    result.dataset = project.find(ref.kind, ref.id);
    if (!result.dataset) {
        result.error = QStringLiteral("no item %1 in the project").arg(text);
        return result;
    }
    if (ref.animation < 0)
        return result;
    const auto set = result.dataset.staticCast<Imageset>();
    if (ref.animation >= set->animations.animations.size()) {
        result.error = QStringLiteral("%1: the set has %2 animation(s)")
                           .arg(text)
                           .arg(set->animations.animations.size());
        result.dataset.reset();
    } else if (ref.frame >= set->animations.animations.at(ref.animation).frames.size()) {
        result.error = QStringLiteral("%1: the animation has %2 frame(s)")
                           .arg(text)
                           .arg(set->animations.animations.at(ref.animation).frames.size());
        result.dataset.reset();
    }
    return result;
}
