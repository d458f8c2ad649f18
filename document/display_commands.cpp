// The four View commands and the report they rebuild: each command changes its
// flag only when the other choice is in force, then moves the mark and rebuilds.

#include "document/tavro_doc.h"
#include "report/report_text.h"

namespace tavro {
namespace {

// Sets `flag` to `value` unless it holds it already; true when it changed.
bool ChangeFlag(int& flag, int value) {
    if (flag == value) return false;
    flag = value;
    return true;
}

}  // namespace

void CTavroDoc::BuildReportText(const DisplayList& list) { m_reportText = RenderReport(list); }

void CTavroDoc::RefreshView() {
    static const WordTable kNoWords;
    const WordTable& table =
        m_bShowAllWords != 0 ? (m_pWordTree ? *m_pWordTree : kNoWords) : NounTree();
    BuildReportText(BuildDisplayList(table, m_bSortByFrequency != 0));
    m_platform.UpdateAllViews();
}

void CTavroDoc::OnViewSortAlphabetically() {
    if (!ChangeFlag(m_bSortByFrequency, 0)) return;
    m_platform.MarkDisplayChoice(DisplayChoice::kSortAlphabetically);
    RefreshView();
}

void CTavroDoc::OnViewSortByFrequency() {
    if (!ChangeFlag(m_bSortByFrequency, 1)) return;
    m_platform.MarkDisplayChoice(DisplayChoice::kSortByFrequency);
    RefreshView();
}

void CTavroDoc::OnViewShowNouns() {
    if (!ChangeFlag(m_bShowAllWords, 0)) return;
    m_platform.MarkDisplayChoice(DisplayChoice::kShowNouns);
    RefreshView();
}

void CTavroDoc::OnViewShowAllWords() {
    if (!ChangeFlag(m_bShowAllWords, 1)) return;
    m_platform.MarkDisplayChoice(DisplayChoice::kShowAllWords);
    RefreshView();
}

}  // namespace tavro
