// The program's own command ids: the menu items, accelerators and toolbar
// button that lead to the document's and the view's own commands.
#pragma once

namespace tavro {

enum CommandId : int {
    ID_FILE_OPEN_INPUT_FILES = 0x8003,
    ID_VIEW_SORT_ALPHABETICALLY = 0x8006,
    ID_VIEW_SORT_BY_FREQUENCY = 0x8007,
    ID_VIEW_SHOW_NOUNS = 0x8008,
    ID_VIEW_SHOW_ALL_WORDS = 0x8009,
    ID_TOOLS_FIND_BASE_FORM = 0x800B,
    ID_TOOLS_CAPITALS_ACCENTS = 0x800C,
    ID_VIEW_REPORT = 0x800D,
    ID_VIEW_ANALYSIS = 0x800E,
    ID_FILE_EXPORT = 0x800F,
    ID_TOOLS_DERIVED_NOUNS = 0x8010,
};

}  // namespace tavro
