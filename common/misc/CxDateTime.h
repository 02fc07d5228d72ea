#pragma once
// CxDateTime: one moment as a variant date (days since 30 December 1899, the time of day
// as the fraction) and as calendar fields, with the text forms the system writes.
//
// Variant dates follow the OLE rules: the whole part counts days (negative before
// 30 December 1899) and the fraction is the time of day taken as positive, so -1.25 is
// 29 December 1899 06:00. Dates from year 100 to 9999 can be represented.

#include <ctime>
#include <string>

namespace tabrel {

struct DateTimeFields {
    int year = 0;
    int month = 0;      // 1..12
    int dayOfWeek = 0;  // 0 = Sunday
    int day = 0;        // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

class CxDateTime {
  public:
    // Now, from the local clock (with milliseconds).
    CxDateTime();
    // From a variant date; an out-of-range or non-finite value clears the valid flag.
    explicit CxDateTime(double variantDate);
    // From a C time value as local calendar fields (milliseconds 0); a value the C library
    // cannot convert clears the valid flag.
    explicit CxDateTime(std::time_t timeValue);
    // From calendar fields; an impossible set (month 13, 30 February, ...) clears the valid
    // flag. When valid, the day of week is derived from the date.
    explicit CxDateTime(const DateTimeFields& fields);
    virtual ~CxDateTime() = default;

    CxDateTime(const CxDateTime&) = default;
    CxDateTime& operator=(const CxDateTime&) = default;

    // "MM/DD/YYYY"; the empty text when the year is after 2030 or not after 1930.
    std::string DateText() const;
    // "hh:mm:ss".
    std::string TimeText() const;
    // DateText and TimeText joined by one blank.
    std::string DateTimeText() const;

    const DateTimeFields& GetFields() const { return m_fields; }
    double GetVariantDate() const { return m_dDate; }
    bool IsValid() const { return m_bValid; }

  private:
    void SetFromTm(const std::tm& local, int millisecond);

    double m_dDate = 0.0;
    DateTimeFields m_fields;
    bool m_bValid = false;
};

// Compares year, month and day only: -1 when a is earlier or missing (nullptr), 1 when b is
// earlier or missing, 0 when the dates are equal. a is looked at first.
int CompareDate(const DateTimeFields* a, const DateTimeFields* b);

// Copies year, month, day and day of week.
void CopyDate(const DateTimeFields& from, DateTimeFields& to);

// Variant date <-> calendar fields; false when the value cannot be converted.
bool VariantDateToFields(double variantDate, DateTimeFields& fields);
bool FieldsToVariantDate(const DateTimeFields& fields, double& variantDate);

// "MM-DD-YYYY hh:mm:ss" of a variant date; false (and an empty text) when the date cannot
// be converted.
bool VariantDateText(double variantDate, std::string& text);

}  // namespace tabrel
