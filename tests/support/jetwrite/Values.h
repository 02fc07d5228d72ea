#pragma once
// The stored bytes of cell values.

#include <cstdint>
#include <string>

#include "support/JetWriter.h"
#include "support/jetwrite/Bytes.h"

namespace tabrel::test::jetwrite {

std::int64_t IntegerOf(const JetValue& value, const JetColumn& column);
double RealOf(const JetValue& value, const JetColumn& column);
const std::string& TextOf(const JetValue& value, const JetColumn& column);

// The bytes of a fixed column's value (not NULL).
Bytes FixedBytes(const JetValue& value, const JetColumn& column);

// The stored bytes of a variable or long column's value (not NULL): texts as JetText,
// binary values as given. A memo over 1024 characters is never compressed.
Bytes VariableBytes(const JetValue& value, const JetColumn& column, bool compress);

}  // namespace tabrel::test::jetwrite
