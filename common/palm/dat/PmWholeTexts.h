#pragma once
// PmWholeTexts: the texts of a loaded .dat record that were stored longer than their field
// keeps, whole, by field index.
//
// A string field keeps at most its capacity less one byte of what the file holds. So that
// a record written from its fields does not lose the tail of such a text when the text was
// not changed, the record carries the whole stored text beside the cut one; the string
// field writer puts the whole text back as long as the field still holds exactly the cut
// text (PmDBUtil::ReadTextField, PmDBUtil::WriteTextField).

#include <cstddef>
#include <map>
#include <string>
#include <type_traits>

namespace tabrel {

using PmWholeTexts = std::map<std::size_t, std::string>;

// The text a record keeps for one string field and the capacity of its place (terminator
// included); a null text stands for a field that holds no text. Text is std::string or
// const std::string.
template <class Text>
struct PmTextSlot {
    Text* text = nullptr;
    std::size_t capacity = 0;
};

// The slot type for a record of type Record (const or not).
template <class Record>
using PmTextSlotOf =
    PmTextSlot<std::conditional_t<std::is_const_v<Record>, const std::string, std::string>>;

}  // namespace tabrel
