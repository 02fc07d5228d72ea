#pragma once
// CommAddrMgr: the store of common contact records.
//
// Key fields: First Name, Last Name, Email. Compare fields: the phones, the e-mail, the
// faxes, company, title, the three addresses and the note. Every text field compares
// without regard to letter case and with CR and LF skipped on both sides; Gender and
// Private compare by value, Birthday and Anniversary by value; any other field counts as
// equal.
//
// Merge takes every named text except the ID, and Gender, Birthday, Anniversary and
// Private; the tenth custom slot, the two times, the source part and the ID stay.
//
// Field texts: a text field gives its text, Gender the empty text, the four dates the
// date-time text of CxDateTime, Source Type the source-type text; Status, ID, Private, a
// source type outside the table and an unknown identifier give none. A field only gives a
// text when the row's size is below the output size.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "palm/comm/CommAddrRec.h"
#include "palm/comm/CommMgr.h"

namespace tabrel {

class CommAddrMgr final : public CommMgr<CommAddrMgr, CommAddrRec> {
  public:
    CommAddrMgr();

  private:
    friend class CommMgr<CommAddrMgr, CommAddrRec>;

    static std::span<const CommFieldRow> Catalogue();
    static std::size_t TextSize(const CommFieldRow& row);
    static std::string* TextMember(CommAddrRec& rec, std::int32_t id);
    static const std::string* TextMember(const CommAddrRec& rec, std::int32_t id);
    static bool AppendFieldKey(const CommAddrRec& rec, std::int32_t id, CommFieldKey& key);
    static void MergeFields(CommAddrRec& to, const CommAddrRec& from,
                            const std::optional<CommFieldSet>& carried);
    static bool FieldText(const CommAddrRec& rec, const CommFieldRow& row, std::string& text,
                          std::size_t size);
};

}  // namespace tabrel
