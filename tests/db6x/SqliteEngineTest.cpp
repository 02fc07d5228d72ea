#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "palm/db6x/DbOpen.h"
#include "palm/db6x/engine/SqlLiterals.h"
#include "palm/db6x/engine/SqliteEngine.h"
#include "support/Db6xWriter.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

constexpr test::Db6xColumn kTypes[] = {
    {"Bit", "BIT"},     {"YesNo", "YESNO"},    {"Int", "INTEGER"},     {"Short", "SHORT"},
    {"Text", "TEXT"},   {"Memo", "MEMO"},      {"Var", "VARCHAR(50)"}, {"When", "DATETIME"},
    {"Real", "DOUBLE"}, {"Money", "CURRENCY"}, {"Bin", "LONGBINARY"}};

// A database with the table T of kTypes (and the three tables of every 6.x database).
struct TypedDb {
    TypedDb() : writer(dir.File("typed.db"), test::kMemoColumns) {
        std::string sql = "CREATE TABLE T (";
        for (const auto& column : kTypes) {
            sql += std::string(sql.back() == '(' ? "" : ", ") + "[" + std::string(column.name) +
                   "] " + std::string(column.type);
        }
        writer.Exec(sql + ")");
    }
    std::unique_ptr<DbDatabase> Open() {
        std::string error;
        auto db = OpenDbFile(writer.Path(), error);
        EXPECT_NE(db, nullptr) << error;
        return db;
    }
    test::TempDir dir;
    test::Db6xWriter writer;
};

}  // namespace

TEST(SqliteEngine, ValueKindsFollowTheDeclaredType) {
    TypedDb db;
    db.writer.Exec(
        "INSERT INTO T VALUES (1, 0, -12, 7, 'Ab', 'memo', 'v', '2006-01-01', 1.5, 2.25, "
        "x'00ff');"
        "INSERT INTO T VALUES (NULL, NULL, 4294967296, NULL, NULL, NULL, 5, NULL, NULL, NULL, "
        "NULL)");
    auto database = db.Open();
    ASSERT_NE(database, nullptr);
    std::string error;
    auto cursor = database->Query("SELECT * FROM T", error);
    ASSERT_NE(cursor, nullptr) << error;
    const DbRow first = cursor->ReadRow();
    const DbRow expected = {DbValue::Boolean(-1),
                            DbValue::Boolean(0),
                            MakeIntegerValue(-12),
                            MakeIntegerValue(7),
                            DbValue::Text(u"Ab"),
                            DbValue::Text(u"memo"),
                            DbValue::Text(u"v"),
                            DbValue(),
                            DbValue(),
                            DbValue(),
                            DbValue()};
    EXPECT_EQ(first, expected);
    ASSERT_TRUE(cursor->Next(error));
    // NULL is empty whatever the type; a number beyond 32 bits too; a number in a text
    // column reads as its text.
    const DbRow second = cursor->ReadRow();
    EXPECT_EQ(second[2], DbValue());
    EXPECT_EQ(second[6], DbValue::Text(u"5"));
    for (std::size_t i : {0, 1, 3, 4, 5, 7, 8, 9, 10}) {
        EXPECT_TRUE(second[i].IsEmpty()) << i;
    }
    EXPECT_FALSE(cursor->Next(error));
    EXPECT_TRUE(cursor->AtEnd() && error.empty() && cursor->ReadRow().empty());

    EXPECT_EQ(KindOfDeclaredType(" varchar(255)"), DbKind::Text);
    EXPECT_EQ(KindOfDeclaredType("Long Integer"), DbKind::Integer);
}

TEST(SqliteEngine, LeftCountsUtf16UnitsAndTextColumnsIgnoreCase) {
    TypedDb db;
    db.writer.Exec(
        "INSERT INTO Main ([Record ID], [Note]) VALUES (1, 'Caf\xC3\xA9 au lait');" +
        std::string("INSERT INTO Main ([Record ID], [Note]) VALUES (2, 'a\xF0\x9F\x98\x80z')"));
    auto database = db.Open();
    ASSERT_NE(database, nullptr);
    const auto ids = [&](const std::string& where) {
        std::string error;
        std::vector<std::int32_t> found;
        auto cursor = database->Query("SELECT [Record ID] FROM Main " + where, error);
        EXPECT_NE(cursor, nullptr) << error;
        for (; cursor != nullptr && !cursor->AtEnd(); cursor->Next(error)) {
            found.push_back(cursor->ReadRow().at(0).GetNumber());
        }
        return found;
    };
    EXPECT_EQ(ids("WHERE LEFT([Note], 4) = 'Caf\xC3\xA9'"), std::vector<std::int32_t>{1});
    EXPECT_EQ(ids("WHERE [Note] = 'CAF\xC3\xA9 AU LAIT'"), std::vector<std::int32_t>{1});
    // A cut inside a surrogate pair keeps the pair out, as the literal builder does.
    EXPECT_EQ(ids("WHERE LEFT([Note], 2) = 'a'"), std::vector<std::int32_t>{2});
    EXPECT_EQ(ids("WHERE LEFT([Note], 3) = 'a\xF0\x9F\x98\x80'"), std::vector<std::int32_t>{2});
    EXPECT_EQ(ids("WHERE LEFT(NULL, 3) = 'a'"), std::vector<std::int32_t>{});
    // Only calls are adapted: not a LEFT inside a literal, nor a column named so.
    db.writer.Exec("INSERT INTO Main ([Record ID], [Note]) VALUES (3, 'x LEFT(y')");
    EXPECT_EQ(ids("WHERE left ([Note], 1) = 'x' AND [Note] = 'x LEFT(y'"),
              std::vector<std::int32_t>{3});
}

TEST(SqliteEngine, CommandsCountChangesAndRunOneStatementOnly) {
    TypedDb db;
    auto database = db.Open();
    ASSERT_NE(database, nullptr);
    std::int64_t changed = -1;
    std::string error;
    EXPECT_TRUE(database->Execute("INSERT INTO Main ([Record ID], [Blob]) VALUES (1, 0x00000000)",
                                  changed, error));
    EXPECT_EQ(changed, 1);
    EXPECT_TRUE(
        database->Execute("UPDATE Main SET [Status]=2 WHERE [Record ID] = 9", changed, error));
    EXPECT_EQ(changed, 0);
    EXPECT_FALSE(database->Execute("DELETE FROM Main; DROP TABLE Main", changed, error));
    EXPECT_EQ(error, "Only one statement can be run at a time.");
    EXPECT_FALSE(database->Execute("UPDATE Nowhere SET [a]=1", changed, error));
    EXPECT_EQ(error, "no such table: Nowhere");
    EXPECT_EQ(database->Query("SELECT [x] FROM Main", error), nullptr);
    EXPECT_EQ(db.writer.Rows("SELECT COUNT(*) FROM Main")[0][0], "1");

    // Statements of one shape share a prepared statement; each runs with its own values.
    for (const char* values : {"2, 'it''s', -3", "3, '', 0x7FFFFFFFFFFFFFFF", "4, '[a]', 12"}) {
        EXPECT_TRUE(database->Execute(
            "INSERT INTO Main ([Record ID], [Note], [Status]) VALUES (" + std::string(values) + ")",
            changed, error))
            << error;
    }
    EXPECT_TRUE(
        database->Execute("UPDATE Main SET [Note]='x''y' WHERE [Record ID] = 4 AND "
                          "LEFT([Note], 256) = '[a]'",
                          changed, error));
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(
        db.writer.Rows("SELECT [Record ID], [Note], [Status] FROM Main WHERE [Record ID] > 1"),
        (std::vector<std::vector<std::string>>{
            {"2", "it's", "-3"}, {"3", "", "9223372036854775807"}, {"4", "x'y", "12"}}));
}

TEST(SqliteEngine, LiteralsAreLiftedOnlyWhereTheirMeaningIsSure) {
    const auto lifted = LiftLiterals("UPDATE [T 1] SET [a]='O''Neil', \"b\"=-42 WHERE x1 = 0xff");
    ASSERT_TRUE(lifted.has_value());
    EXPECT_EQ(lifted->shape, "UPDATE [T 1] SET [a]=?, \"b\"=-? WHERE x1 = ?");
    EXPECT_EQ(lifted->literals, (std::vector<SqlLiteral>{std::string("O'Neil"), std::int64_t{42},
                                                         std::int64_t{255}}));
    // Reals, exponents and integers beyond 64 bits stay as they are.
    EXPECT_EQ(LiftLiterals("SELECT 1.5, 2e3, 99999999999999999999, 'a'")->shape,
              "SELECT 1.5, 2e3, 99999999999999999999, ?");
    for (const char* unsure : {"SELECT 1 -- 'a'", "SELECT /* 2 */ 3", "SELECT ?, 1", "SELECT 'a",
                               "SELECT [a", "SELECT name"}) {
        EXPECT_FALSE(LiftLiterals(unsure).has_value()) << unsure;
    }
}

// Rows the pass inserts with Record ID 0 (or none) keep it, so the readers find them by it,
// until the flush numbers them after the largest ID; stored rows with 0 stay as they are.
TEST(SqliteEngine, NewRecordsTakeTheNextRecordIdsWhenThePassEnds) {
    TypedDb db;
    db.writer.Exec("INSERT INTO Main ([Record ID]) VALUES (5), (0)");
    auto database = db.Open();
    ASSERT_NE(database, nullptr);
    std::int64_t changed = 0;
    std::string error;
    for (const char* id : {"0", "9", "NULL", "0"}) {
        ASSERT_TRUE(database->Execute(
            std::string("INSERT INTO Main ([Record ID]) VALUES (") + id + ")", changed, error));
    }
    ASSERT_TRUE(
        database->Execute("UPDATE Main SET [Status]=1 WHERE [Record ID] = 0", changed, error));
    EXPECT_EQ(changed, 3);
    const auto ids = [&db] {
        return db.writer.Rows("SELECT [Record ID] FROM Main ORDER BY rowid");
    };
    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ(ids(), (Rows{{"5"}, {"0"}, {"0"}, {"9"}, {"NULL"}, {"0"}}));
    ASSERT_TRUE(database->Flush(error)) << error;
    EXPECT_EQ(ids(), (Rows{{"5"}, {"0"}, {"10"}, {"9"}, {"11"}, {"12"}}));
    ASSERT_TRUE(database->Flush(error));
    EXPECT_EQ(ids()[5], std::vector<std::string>{"12"});
}

TEST(SqliteEngine, FilesAreToldByTheirFirstBytes) {
    test::TempDir dir;
    std::string error;
    EXPECT_EQ(OpenDbFile(dir.File("missing.mdb"), error), nullptr);
    EXPECT_EQ(error, "The file cannot be read: No such file or directory.");

    // A Jet file goes to the Jet engine, which tells why it refuses this one.
    test::WriteFile(dir.File("jet.mdb"),
                    test::ByteWriter().U32(0x100).Text("Standard Jet DB").Fill(2048).Get());
    EXPECT_EQ(OpenDbFile(dir.File("jet.mdb"), error), nullptr);
    EXPECT_EQ(error, "The file is a Jet 3 (Access 97) database, not a Palm Desktop 6.x database.");

    for (const std::string& bytes : {std::string("SQL"), std::string(100, 'x'), std::string()}) {
        test::WriteTextFile(dir.File("other.mdb"), bytes);
        error.clear();
        EXPECT_EQ(OpenDbFile(dir.File("other.mdb"), error), nullptr);
        EXPECT_EQ(error, "The file is not a database that can be read.");
    }
}

}  // namespace tabrel
