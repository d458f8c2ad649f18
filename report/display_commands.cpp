// The four View commands: each changes its flag only when the other choice is in
// force, then moves the menu's radio mark and rebuilds the report.

#include "lexicon/tavro_doc.h"

namespace tavro {
namespace {

// Sets `flag` to `value` unless it holds it already; true when it changed.
bool ChangeFlag(int& flag, int value) {
    if (flag == value) return false;
    flag = value;
    return true;
}

}  // namespace

void CTavroDoc::OnViewSortAlphabetically() {
    if (!ChangeFlag(m_bSortByFrequency, 0)) return;
    m_platform.CheckMenuRadioItem(ID_VIEW_SORT_ALPHABETICALLY, ID_VIEW_SORT_BY_FREQUENCY,
                                  ID_VIEW_SORT_ALPHABETICALLY);
    RefreshView();
}

void CTavroDoc::OnViewSortByFrequency() {
    if (!ChangeFlag(m_bSortByFrequency, 1)) return;
    m_platform.CheckMenuRadioItem(ID_VIEW_SORT_ALPHABETICALLY, ID_VIEW_SORT_BY_FREQUENCY,
                                  ID_VIEW_SORT_BY_FREQUENCY);
    RefreshView();
}

void CTavroDoc::OnViewShowNouns() {
    if (!ChangeFlag(m_bShowAllWords, 0)) return;
    m_platform.CheckMenuRadioItem(ID_VIEW_SHOW_NOUNS, ID_VIEW_SHOW_ALL_WORDS, ID_VIEW_SHOW_NOUNS);
    RefreshView();
}

void CTavroDoc::OnViewShowAllWords() {
    if (!ChangeFlag(m_bShowAllWords, 1)) return;
    m_platform.CheckMenuRadioItem(ID_VIEW_SHOW_NOUNS, ID_VIEW_SHOW_ALL_WORDS,
                                  ID_VIEW_SHOW_ALL_WORDS);
    RefreshView();
}

}  // namespace tavro
