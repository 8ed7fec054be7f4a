#pragma once

#include "exchange/exportoptions.h"
#include "exchange/textformat.h"
#include "model/animationset.h"

#include <QSize>
#include <QString>

namespace AnimationExport {
// The assembler text of one frame (frame >= 0) or of every frame (frame < 0)
// of animation number animationIndex of the set named setName, for a player
// routine: per frame its layers with their offsets, then per layer its placed
// images as x, y and image index. Positions are multiplied by positionScale:
// (1, 1) for character and block cells, the sprite size for sprites, so that
// sprite positions come out in pixels. Every value is written as one byte.
QList<ExportSection> sections(const QString& setName, const Animation& animation, int animationIndex, int frame,
                              QSize positionScale);
QString text(const QString& setName, const Animation& animation, int animationIndex, int frame, QSize positionScale,
             const ExportDataOptions& options);
}
