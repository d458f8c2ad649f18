// The standard command ids that the desktop shell's menus, accelerators and
// toolbar send besides the program's own (app/command_ids.h). Every
// QAction carries its id, and its objectName is the id's name.
#pragma once

namespace tavro {

enum FrameworkCommandId : int {
    ID_FILE_NEW = 0xE100,
    ID_FILE_SAVE = 0xE103,
    ID_FILE_SAVE_AS = 0xE104,
    ID_FILE_PRINT = 0xE107,
    ID_EDIT_COPY = 0xE122,
    ID_EDIT_CUT = 0xE123,
    ID_EDIT_FIND = 0xE124,
    ID_EDIT_PASTE = 0xE125,
    ID_EDIT_REPEAT = 0xE128,
    ID_EDIT_SELECT_ALL = 0xE12A,
    ID_EDIT_UNDO = 0xE12B,
    ID_APP_ABOUT = 0xE140,
    ID_APP_EXIT = 0xE141,
    ID_NEXT_PANE = 0xE150,
    ID_PREV_PANE = 0xE151,
};

}  // namespace tavro
