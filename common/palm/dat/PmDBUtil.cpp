#include "palm/dat/PmDBUtil.h"

#include <algorithm>
#include <utility>

#include "misc/CxAssert.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxText.h"

namespace tabrel {

namespace {

constexpr std::uint8_t kLongLengthMark = 0xFF;
constexpr std::uint32_t kMaxShortLength = 254;

}  // namespace

// --- File ---------------------------------------------------------------------------------

bool PmDBUtil::Open(std::string_view name, int mode) {
    m_hFile.Close();
    if (name.empty() || !m_hFile.Open(std::string(name), mode)) {
        return false;
    }
    m_szFileName = name;
    return true;
}

void PmDBUtil::SetFileName(std::string_view name) {
    m_szFileName = CutText(name, kMaxFileNameLength);
}

bool PmDBUtil::HasBytesLeft(std::uint64_t count) const {
    const std::uint64_t size = m_hFile.GetSize();
    const std::uint64_t position = m_hFile.GetPosition();
    return position <= size && size - position >= count;
}

// --- Raw reads and writes -----------------------------------------------------------------

bool PmDBUtil::ReadBytes(std::span<std::uint8_t> buffer) {
    std::size_t count = 0;
    return !buffer.empty() && m_hFile.Read(buffer, count) && count == buffer.size();
}

bool PmDBUtil::ReadBytesUpTo(std::span<std::uint8_t> buffer, std::size_t& count) {
    count = 0;
    return !buffer.empty() && m_hFile.Read(buffer, count);
}

bool PmDBUtil::ReadLong(std::uint32_t& value) {
    std::array<std::uint8_t, 4> bytes{};
    if (!ReadBytes(bytes)) {
        return false;
    }
    value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
            static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return true;
}

bool PmDBUtil::ReadShort(std::uint16_t& value) {
    std::array<std::uint8_t, 2> bytes{};
    if (!ReadBytes(bytes)) {
        return false;
    }
    value = static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
    return true;
}

bool PmDBUtil::ReadByte(std::uint8_t& value) {
    return ReadBytes(std::span(&value, 1));
}

bool PmDBUtil::ReadQuad(PmQuad& value) {
    return ReadBytes(value);
}

bool PmDBUtil::WriteBytes(std::span<const std::uint8_t> bytes) {
    return !bytes.empty() && m_hFile.Write(bytes);
}

bool PmDBUtil::WriteLong(std::uint32_t value) {
    const std::array<std::uint8_t, 4> bytes{
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return WriteBytes(bytes);
}

bool PmDBUtil::WriteShort(std::uint16_t value) {
    const std::array<std::uint8_t, 2> bytes{static_cast<std::uint8_t>(value),
                                            static_cast<std::uint8_t>(value >> 8)};
    return WriteBytes(bytes);
}

bool PmDBUtil::WriteByte(std::uint8_t value) {
    return WriteBytes(std::span(&value, 1));
}

bool PmDBUtil::WriteQuad(const PmQuad& value) {
    return WriteBytes(value);
}

// --- Counted strings ----------------------------------------------------------------------

// Length prefix of a counted string:
//   offset  size  meaning
//   0       1     L when below 0xFF; 0xFF announces the long form
//   1       2     L (long form only)
bool PmDBUtil::ReadCountedLength(std::uint32_t& length) {
    std::uint8_t first = 0;
    if (!ReadByte(first)) {
        return false;
    }
    if (first != kLongLengthMark) {
        length = first;
        return true;
    }
    std::uint16_t longLength = 0;
    if (!ReadShort(longLength)) {
        return false;
    }
    length = longLength;
    return true;
}

// Counted string:
//   offset  size    meaning
//   0       1 or 3  length prefix L (see ReadCountedLength)
//   1 or 3  L       text bytes, no terminator
bool PmDBUtil::ReadCString(std::string& text, std::uint32_t& max) {
    text.clear();
    std::uint32_t length = 0;
    if (!ReadCountedLength(length)) {
        return false;
    }
    if (length > max) {
        max = length;
        return false;
    }
    if (length == 0) {
        return true;
    }
    if (!HasBytesLeft(length)) {
        return false;
    }
    std::string read(length, '\0');
    if (!ReadBytes(std::span(reinterpret_cast<std::uint8_t*>(read.data()), read.size()))) {
        return false;
    }
    text = std::move(read);
    return true;
}

bool PmDBUtil::WriteCountedString(std::string_view text) {
    if (text.empty()) {
        return WriteByte(0);
    }
    const auto length = static_cast<std::uint32_t>(text.size());
    if (length <= kMaxShortLength) {
        if (!WriteByte(static_cast<std::uint8_t>(length))) {
            return false;
        }
    } else if (!WriteByte(kLongLengthMark) || !WriteShort(static_cast<std::uint16_t>(length))) {
        return false;
    }
    return WriteBytes(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

bool PmDBUtil::WriteCString(std::string_view text) {
    // A longer text would need a length the format cannot hold.
    return text.size() <= kMaxCountedLength && WriteCountedString(text);
}

// --- Typed fields, reading ----------------------------------------------------------------

// 4-byte value field:
//   offset  size  meaning
//   0       4     type code: 1 integer, 3 date, 6 boolean
//   4       4     value
bool PmDBUtil::ReadValueField(std::uint32_t& value) {
    std::uint32_t code = 0;
    if (!ReadLong(code) || (code != ftInteger && code != ftDate && code != ftBoolean)) {
        return false;
    }
    return ReadLong(value);
}

// String field:
//   offset  size    meaning
//   0       4       type code 5
//   4       4       word, ignored (written as 1)
//   8       1 or 3  length prefix L
//   9 or 11 L       text bytes
bool PmDBUtil::ReadCStringField(std::string& text, std::size_t capacity, std::string* whole) {
    std::uint32_t code = 0;
    if (!ReadLong(code) || code != ftCString) {
        return false;
    }
    text.clear();
    if (whole != nullptr) {
        whole->clear();
    }
    std::uint32_t word = 0;
    std::uint32_t length = 0;
    if (!ReadLong(word) || !ReadCountedLength(length)) {
        return false;
    }
    if (length == 0) {
        return true;
    }
    if (!HasBytesLeft(length)) {
        return false;
    }
    const std::size_t room = capacity == 0 ? 0 : capacity - 1;
    const std::size_t keep = std::min(std::size_t{length}, room);
    // The whole text is read only when the caller keeps it; otherwise the rest is skipped.
    const std::size_t read = whole != nullptr ? std::size_t{length} : keep;
    std::string bytes(read, '\0');
    if (read > 0 &&
        !ReadBytes(std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()))) {
        return false;
    }
    if (!Skip(length - read)) {
        return false;
    }
    if (whole != nullptr && keep < bytes.size()) {
        text = bytes.substr(0, keep);
        *whole = std::move(bytes);
    } else {
        bytes.resize(keep);
        text = std::move(bytes);
    }
    return true;
}

// Block field:
//   offset  size  meaning
//   0       4     type code (any)
//   4       4     size word S
//   S = 0:        nothing follows
//   S >= 4:
//   8       S     data bytes
//   S of 1 to 3:
//   8       4     first block word
//   12      4     second block word
//   16      4     data length N
//   20      N     data bytes
bool PmDBUtil::ReadBlockField(PmBlock& block) {
    PmBlock read;
    if (!ReadLong(read.m_dwType) || !ReadLong(read.m_dwSize)) {
        return false;
    }
    if (read.m_dwSize >= 4) {
        read.m_dwDataLength = read.m_dwSize;
    } else if (read.m_dwSize != 0) {
        if (!ReadLong(read.m_dwWord1) || !ReadLong(read.m_dwWord2) ||
            !ReadLong(read.m_dwDataLength)) {
            return false;
        }
    }
    if (read.m_dwSize != 0 && read.m_dwDataLength != 0) {
        // A size word larger than the rest of the file is damage, not a reason to allocate.
        if (!HasBytesLeft(read.m_dwDataLength)) {
            return false;
        }
        read.m_data.resize(read.m_dwDataLength);
        if (!ReadBytes(read.m_data)) {
            return false;
        }
    }
    block = std::move(read);
    return true;
}

// Quad field:
//   offset  size  meaning
//   0       4     type code (not checked; 68 when written)
//   4       8     raw bytes
bool PmDBUtil::ReadQuadField(PmQuad& value) {
    std::uint32_t code = 0;
    return ReadLong(code) && ReadQuad(value);
}

// --- Typed fields, writing ----------------------------------------------------------------

bool PmDBUtil::WriteIntegerField(std::uint32_t value) {
    return WriteLong(ftInteger) && WriteLong(value);
}

bool PmDBUtil::WriteDateField(std::uint32_t value) {
    return WriteLong(ftDate) && WriteLong(value);
}

bool PmDBUtil::WriteBooleanField(std::uint32_t value) {
    return WriteLong(ftBoolean) && WriteLong(value);
}

bool PmDBUtil::WriteCStringField(std::string_view text, std::uint32_t word) {
    if (text.size() > kMaxCountedLength) {
        return false;
    }
    return WriteLong(ftCString) && WriteLong(word) && WriteCountedString(text);
}

bool PmDBUtil::WriteQuadField(const PmQuad& value) {
    return WriteLong(ftQuad) && WriteQuad(value);
}

bool PmDBUtil::WriteBlockField(const PmBlock& block) {
    const std::uint32_t size = block.m_dwSize;
    const bool hasWords = size >= 1 && size <= 3;
    const std::uint32_t dataLength = size == 0 ? 0 : (hasWords ? block.m_dwDataLength : size);
    if (block.m_data.size() < dataLength) {
        return false;
    }
    if (!WriteLong(block.m_dwType) || !WriteLong(size)) {
        return false;
    }
    if (hasWords &&
        (!WriteLong(block.m_dwWord1) || !WriteLong(block.m_dwWord2) || !WriteLong(dataLength))) {
        return false;
    }
    return dataLength == 0 || WriteBytes(std::span(block.m_data.data(), dataLength));
}

// --- String fields of a record ------------------------------------------------------------

bool PmDBUtil::ReadTextField(std::size_t index, std::string& text, std::size_t capacity,
                             PmWholeTexts& wholeTexts) {
    std::string whole;
    if (!ReadCStringField(text, capacity, &whole)) {
        return false;
    }
    if (whole.empty()) {
        wholeTexts.erase(index);
    } else {
        wholeTexts[index] = std::move(whole);
    }
    return true;
}

bool PmDBUtil::WriteTextField(std::size_t index, const std::string& text, std::size_t capacity,
                              const PmWholeTexts& wholeTexts) {
    const auto found = wholeTexts.find(index);
    if (found != wholeTexts.end()) {
        // Unchanged since it was loaded: the field holds exactly the cut text.
        const std::string& whole = found->second;
        const std::size_t kept = capacity == 0 ? 0 : capacity - 1;
        if (kept < whole.size() && text.size() == kept && whole.compare(0, kept, text) == 0) {
            return WriteCStringField(whole, 1);
        }
    }
    return WriteCStringField(text, 1);
}

// --- Categories ---------------------------------------------------------------------------

void PmDBUtil::SetCatMgr(std::unique_ptr<PmCategoryMgr> catMgr) {
    m_pCatMgr.reset();
    m_pCatMgr = std::move(catMgr);
}

bool PmDBUtil::GetCategoryText(std::int32_t id, std::string& text) const {
    CX_ASSERT(m_pCatMgr != nullptr, "m_pCatMgr!=NULL && szCatText!=NULL");
    const PmCategory* category = m_pCatMgr->FindById(id);
    if (category == nullptr) {
        return false;
    }
    text = category->GetName();
    return true;
}

bool PmDBUtil::GetCategoryId(std::string_view name, std::int32_t& id, bool add) {
    CX_ASSERT(m_pCatMgr != nullptr, "m_pCatMgr!=NULL");
    const std::string held = CutText(name, PmCategory::kMaxNameLength);
    if (held.empty()) {
        id = 0;
        return true;
    }
    if (const PmCategory* found = m_pCatMgr->FindByName(held)) {
        id = found->GetId();
        return true;
    }
    if (!add) {
        id = 0;
        return false;
    }
    PmCategory category;
    category.SetName(held);
    m_pCatMgr->Add(category);
    if (const PmCategory* added = m_pCatMgr->FindByName(held)) {
        id = added->GetId();
        return true;
    }
    id = -1;
    return false;
}

bool PmDBUtil::UnchangedSinceLoad(const PmFile& target, const std::string& path,
                                  const std::string& loadedPath,
                                  const std::optional<PmFileStamp>& loaded) {
    if (path != loadedPath || !loaded || target.GetStamp() == loaded) {
        return true;
    }
    CX_LOG(kLogFailure, "The file %s was changed by another program after it was loaded.", path);
    return false;
}

}  // namespace tabrel
