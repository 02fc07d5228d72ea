#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "palm/db6x/jet/JetChildProcess.h"
#include "palm/db6x/jet/JetHeader.h"
#include "palm/db6x/jet/JetLongValue.h"
#include "palm/db6x/jet/JetTableStream.h"
#include "palm/db6x/jet/JetText.h"
#include "support/JetWriter.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

using test::Bytes;
using test::ByteWriter;

constexpr std::size_t kPage = 4096;

// A long-value page holding rows (row 0 at the end of the page, the next before it).
Bytes LvalPage(const std::vector<Bytes>& rows) {
    Bytes page(kPage, 0);
    page[0] = 0x01;
    page[1] = 0x01;
    page[4] = 'L';
    page[5] = 'V';
    page[6] = 'A';
    page[7] = 'L';
    page[12] = static_cast<std::uint8_t>(rows.size());
    std::size_t end = kPage;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::size_t start = end - rows[r].size();
        std::copy(rows[r].begin(), rows[r].end(),
                  page.begin() + static_cast<std::ptrdiff_t>(start));
        page[14 + 2 * r] = static_cast<std::uint8_t>(start);
        page[15 + 2 * r] = static_cast<std::uint8_t>(start >> 8);
        end = start;
    }
    return page;
}

// A file of pages: page 0 empty, then the given pages.
Bytes FileOf(const std::vector<Bytes>& pages) {
    Bytes file(kPage, 0);
    for (const Bytes& page : pages) {
        file.insert(file.end(), page.begin(), page.end());
    }
    return file;
}

// The 12-byte header of a long-value field.
Bytes Field(std::uint32_t word, std::uint32_t pointer, const Bytes& inlineData = {}) {
    ByteWriter w;
    w.U32(word).U32(pointer).U32(0).Raw(inlineData);
    return w.Get();
}

// A chain row: the pointer to the next row, then the piece.
Bytes ChainRow(std::uint32_t next, const std::string& piece) {
    return ByteWriter().U32(next).Text(piece).Get();
}

std::string AsText(const std::vector<std::uint8_t>& value) {
    return std::string(value.begin(), value.end());
}

}  // namespace

TEST(JetText, DecodesPlainAndCompressedText) {
    EXPECT_EQ(DecodeJetText(ByteWriter().Utf16("Hi").U16(0x03A9).Get()), u"HiΩ");
    // FF FE, a compressed run "ab", a switch, one UTF-16 unit, a switch, "c".
    EXPECT_EQ(DecodeJetText(Bytes{0xFF, 0xFE, 'a', 'b', 0, 0xA9, 0x03, 0, 'c'}), u"abΩc");
    EXPECT_EQ(DecodeJetText(Bytes{0xFF, 0xFE, 0xE9}), u"é");
    EXPECT_EQ(DecodeJetText(Bytes{'A', 0, 'B'}), u"A");  // the odd last byte is dropped
    EXPECT_EQ(DecodeJetText(Bytes{}), u"");
}

TEST(JetLongValue, ReadsInlineSinglePageAndChainedValues) {
    const Bytes file =
        FileOf({LvalPage({Bytes{'o', 'n', 'e'}, ChainRow(0x0202, "first "), ChainRow(0, "third")}),
                LvalPage({Bytes{'x'}, Bytes{'y'}, ChainRow(0x0102, "second ")})});
    std::vector<std::uint8_t> value;
    std::string error;
    ASSERT_TRUE(ReadJetLongValue(file, Field(0x80000003, 0, Bytes{'i', 'n', 'l'}), value, error));
    EXPECT_EQ(AsText(value), "inl");
    ASSERT_TRUE(ReadJetLongValue(file, Field(0x40000003, 0x0100), value, error)) << error;
    EXPECT_EQ(AsText(value), "one");
    ASSERT_TRUE(ReadJetLongValue(file, Field(18, 0x0101), value, error)) << error;
    EXPECT_EQ(AsText(value), "first second third");
    ASSERT_TRUE(ReadJetLongValue(file, Bytes{1, 2, 3}, value, error));
    EXPECT_TRUE(value.empty());
}

TEST(JetLongValue, RefusesBrokenPointersCyclesAndOverlongChains) {
    const Bytes file = FileOf({LvalPage({ChainRow(0x0101, "a"), ChainRow(0x0100, "b")})});
    std::vector<std::uint8_t> value;
    std::string error;
    EXPECT_FALSE(ReadJetLongValue(file, Field(0x40000001, 0x0900), value, error));
    EXPECT_EQ(error, "The file is damaged: a long value points to a row that does not exist.");
    EXPECT_FALSE(ReadJetLongValue(file, Field(0x40000001, 0x0105), value, error));
    EXPECT_FALSE(ReadJetLongValue(file, Field(100000, 0x0100), value, error));
    EXPECT_EQ(error, "The file is damaged: a long value is longer than the file.");
    // The two rows point at each other: the chain outgrows its length.
    EXPECT_FALSE(ReadJetLongValue(file, Field(1000, 0x0100), value, error));
    EXPECT_EQ(error, "The file is damaged: a long value is longer than its length says.");
    // Empty pieces in a cycle never outgrow the length: the chain is bounded by the rows.
    const Bytes empties = FileOf({LvalPage({ChainRow(0x0101, ""), ChainRow(0x0100, "")})});
    EXPECT_FALSE(ReadJetLongValue(empties, Field(10, 0x0100), value, error));
    EXPECT_EQ(error, "The file is damaged: the chain of a long value is broken.");
}

TEST(JetHeader, UnmasksThePasswordTheWriterStores) {
    const Bytes plain = test::BuildJetDatabase({}, {true, ""});
    const Bytes secret = test::BuildJetDatabase({}, {true, "Ab"});
    const std::span<const std::uint8_t> noPassword(plain.data(), kPage);
    EXPECT_EQ(JetPasswordField(noPassword), std::string(40, '\0'));
    std::string masked(40, '\0');  // UTF-16: 'A', 0, 'b', 0, then zeros
    masked[0] = 'A';
    masked[2] = 'b';
    EXPECT_EQ(JetPasswordField({secret.data(), kPage}), masked);
    std::string error;
    EXPECT_TRUE(CheckJetFile(plain, error)) << error;
    EXPECT_FALSE(CheckJetFile(secret, error));
    EXPECT_EQ(error, "The database is password-protected.");
}

TEST(JetTableStream, ReadsBackWhatWasWrittenAndRefusesCutStreams) {
    std::array<int, 2> fds{};
    ASSERT_EQ(::pipe(fds.data()), 0);
    JetStreamWriter out(fds[1]);
    out.BeginTable({"Main", {{"A", 0x04, true}, {"B", 0x0A, false}}});
    out.BeginRow();
    out.Integer(-7);
    out.Text(u"Ω");
    out.EndRow();
    out.BeginRow();
    out.Null();
    out.Bytes(Bytes{1, 2});
    out.EndRow();
    ASSERT_TRUE(out.Flush());
    out.BeginRow();
    out.Number(2.5);
    out.Failure("why");  // drops the row it interrupts
    out.End();
    ASSERT_TRUE(out.Flush(true));
    ::close(fds[1]);
    std::string data(4096, '\0');
    data.resize(static_cast<std::size_t>(::read(fds[0], data.data(), data.size())));
    ::close(fds[0]);

    JetStreamReader reader(data);
    JetRecord record{};
    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(record, JetRecord::Table);
    EXPECT_EQ(reader.Table().name, "Main");
    ASSERT_EQ(reader.Table().columns.size(), 2U);
    EXPECT_TRUE(reader.Table().columns[0].autoNumber);
    EXPECT_EQ(reader.Table().columns[1].type, 0x0A);
    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(reader.Row(), (std::vector<JetCell>{std::int64_t{-7}, std::u16string(u"Ω")}));
    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(reader.Row(),
              (std::vector<JetCell>{std::monostate{}, std::vector<std::uint8_t>{1, 2}}));
    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(record, JetRecord::Failure);
    EXPECT_EQ(reader.Reason(), "why");
    ASSERT_TRUE(reader.Next(record));
    EXPECT_EQ(record, JetRecord::End);
    EXPECT_FALSE(reader.Next(record));
    // Every cut of the stream short of a whole record is refused, never read past.
    for (std::size_t size = 1; size < 30; ++size) {
        JetStreamReader cut(std::string_view(data).substr(0, size));
        bool ok = true;
        for (int i = 0; i < 3 && ok; ++i) {
            ok = cut.Next(record);
        }
        EXPECT_FALSE(ok) << size;
    }
}

TEST(JetChildProcess, CollectsTheOutputAndStopsAChildAtItsLimits) {
    ChildLimits limits{1000, std::chrono::milliseconds(5000)};
    std::string output;
    int exitCode = -1;
    std::string error;
    ASSERT_TRUE(RunInChildProcess(
        [](int fd) {
            std::fputs("noise on stderr\n", stderr);
            return ::write(fd, "abc", 3) == 3 ? 4 : 5;
        },
        limits, output, exitCode, error));
    EXPECT_EQ(output, "abc");
    EXPECT_EQ(exitCode, 4);

    EXPECT_FALSE(RunInChildProcess(
        [](int fd) {
            const std::string block(600, 'x');
            for (;;) {
                if (::write(fd, block.data(), block.size()) < 0) {
                    return 1;
                }
            }
        },
        limits, output, exitCode, error));
    EXPECT_EQ(error, "Reading the file was stopped: it gave more data than the file can hold.");
    EXPECT_TRUE(output.empty());

    limits.timeout = std::chrono::milliseconds(200);
    EXPECT_FALSE(RunInChildProcess(
        [](int) {
            for (;;) {
                ::pause();
            }
            return 0;
        },
        limits, output, exitCode, error));
    EXPECT_EQ(error, "Reading the file was stopped: it did not finish in time.");

    limits.timeout = std::chrono::milliseconds(5000);
    EXPECT_FALSE(RunInChildProcess(
        [](int) {
            std::signal(SIGTERM, SIG_DFL);
            std::raise(SIGTERM);
            return 0;
        },
        limits, output, exitCode, error));
    EXPECT_EQ(error, "Reading the file failed (signal 15).");

    ASSERT_TRUE(
        RunInChildProcess([](int) -> int { std::exit(3); }, limits, output, exitCode, error));
    EXPECT_EQ(exitCode, 124);
}

}  // namespace tabrel
