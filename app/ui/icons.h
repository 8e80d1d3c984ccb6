#pragma once
// The program's own icons, drawn at run time so that no outside artwork is needed.

#include <QIcon>

namespace tovek::ui::icons {

enum class Glyph {
    Folder,
    Shuffle,
    Filter,
    Hints,
    Info,
    Merge,
    Update,
    Exit,
    Zoom,
    NavFirst,
    NavPrior,
    NavNext,
    NavLast,
    NavInsert,
    NavDelete,
    NavEdit,
    NavPost,
    NavCancel,
};

QIcon icon(Glyph glyph);

} // namespace tovek::ui::icons
