#include "editor/Editor.h"

#include "effect/QEL.h"

Editor::Editor(QEL* effect) noexcept : CPresetSystemEditor(effect)
{
    rect.top = 0;
    rect.left = 0;
    rect.bottom = kHeight;
    rect.right = kWidth;
}
