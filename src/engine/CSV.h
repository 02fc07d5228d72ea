#pragma once
// CSV: splits one CSV record into its items.
//
// Items are separated by ","; with a quotation character set, a "," between quotation
// characters belongs to the item. An item enclosed in the quotation character loses the
// enclosing pair, and a doubled quotation character inside it reads as one; an item that is
// not enclosed is taken as it stands. A record may span several physical lines when a
// quoted item holds line breaks (CsvInput joins them).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tabrel {

class CSV {
  public:
    // Unquoted, or quoted with quote when it is not 0.
    explicit CSV(char quote = '\0') { SetQuote(quote); }

    // Sets the quotation character; 0 reads the items as they stand.
    void SetQuote(char quote) {
        m_cQuote = quote;
        m_bQuoted = quote != '\0';
    }
    char GetQuote() const { return m_cQuote; }
    bool IsQuoted() const { return m_bQuoted; }

    // Splits a record; false for an empty one, which leaves the earlier items in place.
    bool parse(std::string_view line);
    std::size_t count() const { return m_items.size(); }
    // The item at index; the empty text past the count.
    const std::string& item(std::size_t index) const;

  private:
    char m_cQuote = '\0';
    bool m_bQuoted = false;
    std::vector<std::string> m_items;
};

}  // namespace tabrel
