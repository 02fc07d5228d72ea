#pragma once
// CommNoteMgr: the store of common note records.
//
// Key field: Subject. Compare field: Note. Subject and Note compare without regard to
// letter case over at most their size less one characters; Color and Private by value;
// any other field counts as equal.
//
// Merge takes Color, Private, Subject and Note, and sets the status to 0.
//
// Field texts: Color "#%06x"; Private "Yes" or "No"; Subject, Note, Category as they are;
// Creation and Last Modification Time "MM-DD-YYYY hh:mm:ss", or the empty text when the
// value is no valid date. Source, Status and the two IDs give none.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "palm/comm/CommMgr.h"
#include "palm/comm/CommNoteRec.h"

namespace tabrel {

class CommNoteMgr final : public CommMgr<CommNoteMgr, CommNoteRec> {
  public:
    CommNoteMgr();

  private:
    friend class CommMgr<CommNoteMgr, CommNoteRec>;

    static std::span<const CommFieldRow> Catalogue();
    static std::size_t TextSize(const CommFieldRow& row);
    static std::string* TextMember(CommNoteRec& rec, std::int32_t id);
    static const std::string* TextMember(const CommNoteRec& rec, std::int32_t id);
    static bool AppendFieldKey(const CommNoteRec& rec, std::int32_t id, CommFieldKey& key);
    static void MergeFields(CommNoteRec& to, const CommNoteRec& from,
                            const std::optional<CommFieldSet>& carried);
    static bool FieldText(const CommNoteRec& rec, const CommFieldRow& row, std::string& text,
                          std::size_t size);
};

}  // namespace tabrel
