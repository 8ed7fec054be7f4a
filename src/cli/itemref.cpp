#include "cli/itemref.h"

#include <QRegularExpression>

QString ItemRef::kindWord(ItemKind kind)
{
    return QLatin1String(kindInfo(kind).reference);
}

bool ItemRef::parse(const QString& text, ItemRef& ref)
{
    static const QRegularExpression pattern(
        QStringLiteral("^([a-z]+):(\\d+)(?:/anim:(\\d+)(?:/frame:(\\d+))?)?$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    bool ok = true;
    const std::optional<ItemKind> kind = itemKindOfReference(match.captured(1));
    if (!kind)
        return false;
    ref.kind = *kind;
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
    return ref.animation < 0 || isImagesetKind(ref.kind);
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
