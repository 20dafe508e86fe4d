#include "sqlcompiler/auto_reader.h"

#include <gtest/gtest.h>

#include "sqlcompiler/compilation.h"
#include "sqlcompiler/testing/parse_script_text.h"

namespace morva::sql {
namespace {

using testing::ParseScriptText;

// A compact form of the model: one line a table ("NAME type label"), one a column
// ("  NAME DATATYPE length/precision/scale columntype label" and its items), one a reference.
std::string Summary(const Model& model) {
    std::string out;
    for (const auto& t : model.tables) {
        out += t->name + " [" + t->type + "] " + t->label + "\n";
        for (const auto& c : t->columns) {
            out += "  " + c->name + " " + c->dataType + " " + std::to_string(c->length) + "/" +
                   std::to_string(c->precision) + "/" + std::to_string(c->scale) + " " + c->type +
                   " " + c->label;
            for (const std::string& item : c->lookupItems) out += " |" + item;
            out += "\n";
        }
        for (const RefGroup& g : t->references) {
            out += "  -> " + g.masterTable;
            for (const RefPair& p : g.pairs) out += " " + p.masterColumn + "=" + p.localColumn;
            out += "\n";
        }
    }
    return out;
}

class AutoReaderTest : public ::testing::Test {
  protected:
    // Reads `text` with the tolerant reader; returns the model's summary.
    std::string Read(std::string_view text) {
        log_.clear();
        c_.SetReporter([this](int32_t, const std::string& line) { log_ += line + "\n"; });
        c_.ResetCompilation("t.sql");
        c_.dialect = Dialect::kAuto;
        ParseScriptText(c_, text);
        return Summary(c_.model());
    }
    Compilation c_;
    std::string log_;
};

TEST_F(AutoReaderTest, NamesInEveryQuotingWithSchemasAndSpecialCharacters) {
    EXPECT_EQ(Read("CREATE TABLE public.\"Order Items\" (\"Id\" int, [Qty] int, `note` text);\n"
                   "CREATE TABLE IF NOT EXISTS [dbo].[T$1#x] (a$b int);\n"
                   "CREATE TEMPORARY TABLE tmp (x int);\n"
                   "CREATE TABLE \"say \"\"hi\"\"\" (a int,);\n"),
              "ORDER ITEMS [] Order Items\n"
              "  ID INTEGER 0/0/0 Normal Id\n"
              "  QTY INTEGER 0/0/0 Normal Qty\n"
              "  NOTE TEXT 0/0/0 Normal note\n"
              "T$1#X [] T$1#x\n"
              "  A$B INTEGER 0/0/0 Normal a$b\n"
              "TMP [] tmp\n"
              "  X INTEGER 0/0/0 Normal x\n"
              "SAY \"HI\" [] say \"hi\"\n"
              "  A INTEGER 0/0/0 Normal a\n");
    EXPECT_EQ(log_, "");
}

TEST_F(AutoReaderTest, TypesOfEveryDialectBecomeCanonical) {
    EXPECT_EQ(Read("CREATE TABLE t (a character varying(40), b VARCHAR2(40 BYTE), "
                   "c NVARCHAR(40), d int4, e INT(11) UNSIGNED, f numeric(10,2), "
                   "g double precision, h timestamp(3) with time zone, i char, "
                   "j NUMBER(*,0), k bigserial, l [nvarchar](max), m bool, n bytea, "
                   "o BLOB SUB_TYPE TEXT, p Money, q enum('a','bcd'));\n"),
              "T [] t\n"
              "  A VARCHAR 40/0/0 Normal a\n"
              "  B VARCHAR 40/0/0 Normal b\n"
              "  C VARCHAR 40/0/0 Normal c\n"
              "  D INTEGER 0/0/0 Normal d\n"
              "  E INTEGER 0/0/0 Normal e\n"
              "  F NUMERIC 0/10/2 Normal f\n"
              "  G DOUBLE 0/0/0 Normal g\n"
              "  H TIMESTAMP 0/0/0 Normal h\n"
              "  I CHAR 1/0/0 Normal i\n"
              "  J NUMERIC 0/0/0 Normal j\n"
              "  K BIGINT 0/0/0 Normal k\n"
              "  L TEXT 0/0/0 Normal l\n"
              "  M BOOLEAN 0/0/0 Normal m\n"
              "  N BLOB 0/0/0 Normal n\n"
              "  O TEXT 0/0/0 Normal o\n"
              "  P Money 0/0/0 Normal p\n"
              "  Q VARCHAR 3/0/0 Normal q |a |bcd\n");
}

TEST_F(AutoReaderTest, DomainsGiveTheirTypes) {
    EXPECT_EQ(Read("CREATE DOMAIN d_name AS VARCHAR(30) CHARACTER SET UTF8;\n"
                   "CREATE DOMAIN year AS integer;\n"
                   "CREATE TABLE t (n d_name, m public.d_name, y year, z tinyint);\n"),
              "T [] t\n"
              "  N VARCHAR 30/0/0 Normal n\n"
              "  M VARCHAR 30/0/0 Normal m\n"
              "  Y INTEGER 0/0/0 Normal y\n"
              "  Z SMALLINT 0/0/0 Normal z\n");
}

TEST_F(AutoReaderTest, KeysFromConstraintsIndexesAndLaterAlterations) {
    EXPECT_EQ(Read("CREATE TABLE t (a int PRIMARY KEY, b int UNIQUE, c int, d int, e int, f int,"
                   " g int, fulltext int, CONSTRAINT u UNIQUE (c), KEY k (d(10)));\n"
                   "ALTER TABLE ONLY public.t ADD CONSTRAINT pk PRIMARY KEY (e);\n"
                   "CREATE UNIQUE INDEX CONCURRENTLY IF NOT EXISTS ix ON ONLY t USING btree "
                   "(f DESC, lower(g));\n"
                   "CREATE INDEX ON v (x);\n"),
              "T [] t\n"
              "  A INTEGER 0/0/0 Key a\n"
              "  B INTEGER 0/0/0 Key b\n"
              "  C INTEGER 0/0/0 Key c\n"
              "  D INTEGER 0/0/0 Key d\n"
              "  E INTEGER 0/0/0 Key e\n"
              "  F INTEGER 0/0/0 Key f\n"
              "  G INTEGER 0/0/0 Normal g\n"
              "  FULLTEXT INTEGER 0/0/0 Normal fulltext\n");
    EXPECT_EQ(log_, "");  // the index of the unknown table v is no concern
}

TEST_F(AutoReaderTest, ReferencesInEveryForm) {
    EXPECT_EQ(Read("CREATE TABLE m (id int PRIMARY KEY, k2 int);\n"
                   "CREATE TABLE s (a int REFERENCES m (id) ON DELETE CASCADE, b int REFERENCES m,"
                   " c int, d int, e int, parent int REFERENCES s (a),"
                   " FOREIGN KEY (c, d) REFERENCES m (id, k2) MATCH FULL DEFERRABLE);\n"
                   "ALTER TABLE s ADD CONSTRAINT fk FOREIGN KEY (e) REFERENCES later (x);\n"
                   "CREATE TABLE later (x int);\n"),
              "M [Master] m\n"
              "  ID INTEGER 0/0/0 Key id\n"
              "  K2 INTEGER 0/0/0 Normal k2\n"
              "S [Sub] s\n"
              "  A INTEGER 0/0/0 RefTop a\n"
              "  B INTEGER 0/0/0 RefTop b\n"
              "  C INTEGER 0/0/0 RefTop c\n"
              "  D INTEGER 0/0/0 Ref d\n"
              "  E INTEGER 0/0/0 RefTop e\n"
              "  PARENT INTEGER 0/0/0 Normal parent\n"
              "  -> M ID=A\n"
              "  -> M ID=B\n"
              "  -> M ID=C K2=D\n"
              "  -> LATER X=E\n"
              "LATER [Master] later\n"
              "  X INTEGER 0/0/0 Normal x\n");
}

TEST_F(AutoReaderTest, ColumnsTakenFromOtherTables) {
    EXPECT_EQ(Read("CREATE TABLE p (id int PRIMARY KEY, name text);\n"
                   "CREATE TABLE c (extra int, name text) INHERITS (p);\n"
                   "CREATE TABLE part PARTITION OF p FOR VALUES IN (1);\n"
                   "CREATE TABLE l1 LIKE p;\n"
                   "CREATE TABLE l2 (LIKE p INCLUDING ALL, z int);\n"
                   "CREATE TABLE l3 (LIKE p);\n"),
              "P [] p\n"
              "  ID INTEGER 0/0/0 Key id\n"
              "  NAME TEXT 0/0/0 Normal name\n"
              "C [] c\n"
              "  ID INTEGER 0/0/0 Normal id\n"
              "  NAME TEXT 0/0/0 Normal name\n"
              "  EXTRA INTEGER 0/0/0 Normal extra\n"
              "PART [] part\n"
              "  ID INTEGER 0/0/0 Key id\n"
              "  NAME TEXT 0/0/0 Normal name\n"
              "L1 [] l1\n"
              "  ID INTEGER 0/0/0 Key id\n"
              "  NAME TEXT 0/0/0 Normal name\n"
              "L2 [] l2\n"
              "  ID INTEGER 0/0/0 Key id\n"
              "  NAME TEXT 0/0/0 Normal name\n"
              "  Z INTEGER 0/0/0 Normal z\n"
              "L3 [] l3\n"
              "  ID INTEGER 0/0/0 Normal id\n"
              "  NAME TEXT 0/0/0 Normal name\n");
}

TEST_F(AutoReaderTest, StatementBoundariesOfEveryDialect) {
    // Bodies hold ";" and CREATE TABLE that must not be read; the tables after them must.
    EXPECT_EQ(Read("CREATE FUNCTION f() RETURNS int AS $body$ BEGIN CREATE TABLE no1 (a int); "
                   "END $body$ LANGUAGE plpgsql;\n"
                   "CREATE TABLE t1 (a int);\n"
                   "DELIMITER $$\n"
                   "CREATE PROCEDURE p() BEGIN SELECT 1; CREATE TABLE no2 (a int); END$$\n"
                   "DELIMITER ;\n"
                   "CREATE TABLE t2 (a int);\n"
                   "SET TERM ^ ;\n"
                   "CREATE TRIGGER tr FOR x AS BEGIN NEW.A = 1; END^\n"
                   "SET TERM ; ^\n"
                   "CREATE TABLE t3 (a int);\n"
                   "CREATE OR REPLACE PROCEDURE q IS v NUMBER; BEGIN IF v > 0 THEN NULL; END IF; "
                   "END q;\n/\n"
                   "CREATE TABLE t4 (a int)\nGO\n"
                   "CREATE PROCEDURE dbo.r AS SET NOCOUNT ON; CREATE TABLE #no3 (a int);\nGO\n"
                   "CREATE TRIGGER s AFTER INSERT ON t1 BEGIN UPDATE t1 SET a = CASE WHEN 1 THEN 2"
                   " END; END;\n"
                   "BEGIN TRANSACTION;\nCREATE TABLE t5 (a int)\nCREATE TABLE t6 (a int);\n"
                   "COPY t1 (a) FROM stdin;\n1\nCREATE TABLE no4 (a int);\n\\.\n"
                   "CREATE TYPE mood AS ENUM ('a');\nCREATE TABLE t7 (a int);\n"),
              "T1 [] t1\n  A INTEGER 0/0/0 Normal a\n"
              "T2 [] t2\n  A INTEGER 0/0/0 Normal a\n"
              "T3 [] t3\n  A INTEGER 0/0/0 Normal a\n"
              "T4 [] t4\n  A INTEGER 0/0/0 Normal a\n"
              "T5 [] t5\n  A INTEGER 0/0/0 Normal a\n"
              "T6 [] t6\n  A INTEGER 0/0/0 Normal a\n"
              "T7 [] t7\n  A INTEGER 0/0/0 Normal a\n");
    EXPECT_EQ(log_, "");
}

TEST_F(AutoReaderTest, OtherStatementsAreSkippedAndMakeNoTables) {
    EXPECT_EQ(Read("GRANT CREATE TABLE TO bob;\nCREATE VIEW v AS SELECT 1;\n"
                   "INSERT INTO t VALUES ('it''s; CREATE TABLE x (a int)', 'a\\'b;');\n"
                   "CREATE SEQUENCE s START 1;\nCREATE TABLE c AS SELECT 1;\n"
                   "DO $$ BEGIN NULL; END $$;\nSET search_path = public;\n"
                   "CREATE VIRTUAL TABLE f USING fts5(a);\nDROP TABLE IF EXISTS t;\n"),
              "");
    EXPECT_EQ(log_, "");
}

TEST_F(AutoReaderTest, CommentsAndLabels) {
    EXPECT_EQ(Read("-- a comment; CREATE TABLE no (a int);\n"
                   "# another one\n"
                   "/*!40101 SET NAMES utf8 */;\n"
                   "CREATE TABLE t ( /* Table label */\n"
                   "  a int, /* Label A\n  one\n  two */\n"
                   "  b int COMMENT 'From MySQL',\n"
                   "  c int -- not a label\n"
                   ") COMMENT='Table comment';\n"
                   "CREATE TABLE u (x int);\n"
                   "COMMENT ON TABLE public.u IS 'U table';\n"
                   "COMMENT ON COLUMN public.u.x IS 'X\nfirst';\n"
                   "COMMENT ON COLUMN u.missing IS 'nothing';\n"),
              "T [] Table comment\n"
              "  A INTEGER 0/0/0 Normal Label A |one |two\n"
              "  B INTEGER 0/0/0 Normal From MySQL\n"
              "  C INTEGER 0/0/0 Normal c\n"
              "U [] U table\n"
              "  X INTEGER 0/0/0 Normal X |first\n");
    EXPECT_EQ(log_, "");
}

TEST_F(AutoReaderTest, ErrorsNameTheTokenAndRecoveryKeepsTheRest) {
    EXPECT_EQ(Read("CREATE TABLE t (a int,\n 42 int, b int, c);\n"
                   "CREATE TABLE (x int);\n"
                   "CREATE TABLE u (a int\n"),
              "T [] t\n"
              "  A INTEGER 0/0/0 Normal a\n"
              "  B INTEGER 0/0/0 Normal b\n"
              "  C  0/0/0 Normal c\n"
              "U [] u\n"
              "  A INTEGER 0/0/0 Normal a\n");
    EXPECT_EQ(log_,
              "t.sql(2): syntax error at '42', expected a column name\n"
              "t.sql(3): syntax error at '(', expected a table name\n"
              "t.sql(5): syntax error at end of file, expected ')'\n");
    EXPECT_EQ(c_.errors(), 3);
}

TEST_F(AutoReaderTest, ByteOrderMarksAndUtf16) {
    EXPECT_EQ(Read("\xEF\xBB\xBF"
                   "CREATE TABLE t (a int);"),
              "T [] t\n  A INTEGER 0/0/0 Normal a\n");
    std::string script = "CREATE TABLE \xC3\xA9t\xC3\xA9 (a int);\r\n";
    std::string le = "\xFF\xFE", be = "\xFE\xFF", bare;
    const char* why = "";
    std::optional<std::string> utf8 = DecodeScriptText(script, &why);
    ASSERT_TRUE(utf8);
    EXPECT_EQ(*utf8, "CREATE TABLE \xC3\xA9t\xC3\xA9 (a int);\n");
    // é is U+00E9.
    for (char ch : std::string("CREATE TABLE \xE9t\xE9 (a int);\r\n")) {
        le += ch, le += '\0';
        be += '\0', be += ch;
        bare += ch, bare += '\0';
    }
    for (const std::string& encoded : {le, be, bare}) {
        std::optional<std::string> decoded = DecodeScriptText(encoded, &why);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(*decoded, *utf8);
    }
    EXPECT_EQ(Read(le), "\xC3\xA9T\xC3\xA9 [] \xC3\xA9t\xC3\xA9\n  A INTEGER 0/0/0 Normal a\n");
    EXPECT_FALSE(DecodeScriptText(le + "x", &why));
    EXPECT_EQ(Read("\xFF\xFE"
                   "A"),
              "");
    EXPECT_EQ(log_, "t.sql: UTF-16 text of an odd number of bytes\n");
    EXPECT_EQ(c_.errors(), 1);
}

TEST(DialectTest, ClassicStaysTheDefaultAndReadsAsBefore) {
    Compilation c;
    c.ResetCompilation("t.sql");
    EXPECT_EQ(c.dialect, Dialect::kClassic);
    ParseScriptText(c, "CREATE TABLE IF NOT EXISTS t (a int);");
    ASSERT_EQ(c.model().tables.size(), 1u);
    EXPECT_EQ(c.model().tables[0]->name, "IF");
}

}  // namespace
}  // namespace morva::sql
