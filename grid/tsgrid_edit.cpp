// The in-place edit of the focus cell. The session (which cell, its text,
// caret and selection, and how it ended) lives here; on Windows the host
// opens an editor window over the cell. The parent asks for an edit with
// notification 14 and answers with TSM_BEGINEDIT. An edit the user ends
// (Enter, Esc, leaving the editor, a click elsewhere in the grid) sends 18
// when accepted and always 19, while the editor's text (grid item 36) and
// the edited cell (the focus) can still be read; the grid then stores the
// accepted text. Grid item 49 reads 16 only after a cancelled edit.
#include "tsgrid.h"

#include <algorithm>

#include "tsvalue.h"

bool TsGrid::OpenEditCell(uint32_t* row, uint32_t* col)
{
    *row = data_.MapRow(edit_.rowId);
    *col = data_.MapCol(edit_.colId);
    return *row < data_.RowCount() && *col < data_.ColCount() && data_.RowId(*row) == edit_.rowId &&
           data_.ColId(*col) == edit_.colId;
}

void TsGrid::SyncEditFromEditor()
{
    TsEditor* editor = host_->Editor();
    if (!edit_.active || !editor)
        return;
    std::string text = editor->Text();
    TsHolderTake(&edit_.text, TsMakeText(text.c_str(), static_cast<int>(text.size())));
    editor->Selection(&edit_.caret, &edit_.selection);
}

void TsGrid::SetEditText(TsValue* v)
{
    TsHolderSet(&edit_.text, v);
    if (edit_.text->length > edit_.maxLength)
        TsSetLength(TsMakeWritable(&edit_.text, static_cast<uint32_t>(edit_.maxLength), true), edit_.maxLength);
    int32_t length = edit_.text->length;
    edit_.caret = std::min(std::max(edit_.caret, 0), length);
    edit_.selection = std::min(std::max(edit_.selection, -edit_.caret), length - edit_.caret);
    if (TsEditor* editor = host_->Editor())
        editor->SetText(TsValueText(edit_.text));
}

intptr_t TsGrid::OnBeginEdit(ParamBlock* b)
{
    if (edit_.active)
        return edit_.state;
    uint32_t row, col;
    // While an end is being reported no new edit starts: the old one's
    // text is still to be stored.
    if (edit_.ending || !FocusCell(&row, &col))
        return 0;
    EndSearch();
    const TsEditRequest* request = reinterpret_cast<const TsEditRequest*>(b->d1);
    int32_t limit = request ? request->maxLength : TS_VALUE_MAX;
    edit_.maxLength = limit < 0 ? 0 : limit > TS_VALUE_MAX ? TS_VALUE_MAX : limit;
    edit_.rowId = data_.RowId(row);
    edit_.colId = data_.ColId(col);
    char number[16];
    const TsValue* value = data_.Cell(row, col)->value;
    TsHolderTake(&edit_.text, TsMakeText(TsValueString(value, number, sizeof number)));
    if (edit_.text->length > edit_.maxLength)
        TsSetLength(TsMakeWritable(&edit_.text, static_cast<uint32_t>(edit_.maxLength), true), edit_.maxLength);
    // The whole text selected, the caret at its end.
    edit_.caret = edit_.text->length;
    edit_.selection = -edit_.caret;
    TsRect cell{static_cast<int32_t>(row), static_cast<int32_t>(col), static_cast<int32_t>(row), static_cast<int32_t>(col)};
    Geometry().ScrollTo(data_, cell, TS_PLACE_SHOW | TS_PLACE_SHOW << 2);
    if (TsEditor* editor = host_->Editor()) {
        TsPixels px{0, 0, 0, 0};
        Geometry().CellRect(data_, row, col, &px);
        const QfGraphic* font = FontOf(row, col);
        if (!editor->Open(px, TsValueText(edit_.text), edit_.maxLength, font ? font->value : 0)) {
            TsHolderRelease(&edit_.text);
            return 0;
        }
        editor->SetSelection(edit_.caret, edit_.selection);
        edit_.shownAt = px;
    }
    edit_.active = true;
    edit_.state = 1;
    Repaint(TS_VALID_FOCUS);
    return edit_.state;
}

intptr_t TsGrid::OnEndEdit(ParamBlock* b)
{
    return EndEdit(b->d1 ? kAcceptByClient : kCancelByClient) ? 1 : 0;
}

void TsGrid::UserEndEdit(bool accept)
{
    EndEdit(accept ? kAcceptByUser : kCancelByUser);
}

bool TsGrid::EndEdit(EditEnd how)
{
    // An end that arrives while one is being reported (the parent ending the
    // edit from inside its notification) finds no edit: no second end, no
    // second notification.
    if (!edit_.active || edit_.ending)
        return false;
    SyncEditFromEditor();
    edit_.active = false;
    edit_.ending = true;
    if (TsEditor* editor = host_->Editor())
        editor->Close();
    bool accept = how == kAcceptByClient || how == kAcceptByUser;
    edit_.state = accept ? 0 : 16;
    uint32_t row, col;
    auto store = [&] {
        if (accept && OpenEditCell(&row, &col)) {
            data_.SetCellValue(data_.Cell(row, col), edit_.text);
            KeyCellChanged(row, col);
        }
    };
    if (how == kAcceptByClient || how == kCancelByClient) {
        store();
        Notify(accept ? TSN_EDITACCEPTED : TSN_EDITCANCELLED);
    } else {
        if (accept)
            Notify(TSN_EDITACCEPTED);
        Notify(TSN_EDITCANCELLED);
        // The parent compares the editor's text with the cell, which still
        // holds the old text, and finds the cell as the focus.
        host_->FlushNotifications();
        store();
    }
    TsHolderRelease(&edit_.text);
    edit_.ending = false;
    Repaint(TS_VALID_FOCUS);
    return true;
}

void TsGrid::EndEditOverDeleted(bool rows, const std::vector<uint32_t>& positions)
{
    uint32_t row, col;
    if (!edit_.active || !OpenEditCell(&row, &col))
        return;
    if (std::binary_search(positions.begin(), positions.end(), rows ? row : col))
        EndEdit(kCancelByUser);
}

int64_t TsGrid::EditLinePosition(bool rows)
{
    uint32_t row, col;
    if (!edit_.active || !OpenEditCell(&row, &col))
        return -1;
    return rows ? row : col;
}

void TsGrid::EndEditOverMoved(bool rows, int64_t before)
{
    // The editor never stands over a line that moved away: the edit ends as
    // when the user leaves the cell, keeping what was typed.
    if (before >= 0 && EditLinePosition(rows) != before)
        EndEdit(kAcceptByUser);
}

void TsGrid::FollowEditedCell()
{
    TsEditor* editor = host_->Editor();
    uint32_t row, col;
    if (!edit_.active || !editor || !OpenEditCell(&row, &col))
        return;
    TsPixels px;
    if (!Geometry().CellRect(data_, row, col, &px))
        return;
    if (px.left != edit_.shownAt.left || px.top != edit_.shownAt.top || px.right != edit_.shownAt.right ||
        px.bottom != edit_.shownAt.bottom) {
        editor->Move(px);
        edit_.shownAt = px;
    }
}

bool TsGrid::RequestEdit(uint32_t typed)
{
    uint32_t row, col;
    if (edit_.active || edit_.ending || !FocusCell(&row, &col) || (style_ & (1u << TSN_EDITREQUEST)))
        return false;
    Notify(TSN_EDITREQUEST);
    host_->FlushNotifications();
    if (!edit_.active)
        return false;
    if (!typed)
        return true;
    // The character that asked for the edit is its first: it replaces the
    // selected text.
    if (TsEditor* editor = host_->Editor()) {
        editor->Type(typed);
        return true;
    }
    std::string text = TsValueText(edit_.text);
    int32_t a = std::min(edit_.caret, edit_.caret + edit_.selection);
    int32_t n = std::abs(edit_.selection);
    if (static_cast<int32_t>(text.size()) - n >= edit_.maxLength)
        return true;
    text.replace(static_cast<size_t>(a), static_cast<size_t>(n), 1, static_cast<char>(typed));
    edit_.caret = a + 1;
    edit_.selection = 0;
    TsHolderTake(&edit_.text, TsMakeText(text.c_str(), static_cast<int>(text.size())));
    return true;
}
