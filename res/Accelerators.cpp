#include "res/Accelerators.h"

#include "res/resource.h"

namespace res {

const std::vector<Accelerator>& MainAccelerators() {
    static const std::vector<Accelerator> table{
        {Qt::CTRL | Qt::Key_N, ID_FILE_NEW},
        {Qt::CTRL | Qt::Key_O, ID_FILE_OPEN},
        {Qt::CTRL | Qt::Key_S, ID_FILE_SAVE},
        {Qt::CTRL | Qt::Key_Z, ID_EDIT_UNDO},
        {Qt::ALT | Qt::Key_Backspace, ID_EDIT_UNDO},
        {Qt::CTRL | Qt::Key_X, ID_EDIT_CUT},
        {Qt::SHIFT | Qt::Key_Delete, ID_EDIT_CUT},
        {Qt::CTRL | Qt::Key_C, ID_EDIT_COPY},
        {Qt::CTRL | Qt::Key_Insert, ID_EDIT_COPY},
        {Qt::CTRL | Qt::Key_V, ID_EDIT_PASTE},
        {Qt::SHIFT | Qt::Key_Insert, ID_EDIT_PASTE},
        {QKeyCombination(Qt::NoModifier, Qt::Key_F6), ID_NEXT_PANE},
        {Qt::SHIFT | Qt::Key_F6, ID_PREV_PANE},
    };
    return table;
}

} // namespace res
