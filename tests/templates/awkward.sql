CREATE TABLE "class" (
  "type" INTEGER NOT NULL PRIMARY KEY,
  "order" VARCHAR(40),
  "select" CHAR(3),
  x SMALLINT,
  "2nd_value" BIGINT,
  address2_line TEXT,
  "self" BOOLEAN,
  "string" NUMERIC(12, 2),
  "def" NUMERIC(5, 0),
  big_count NUMERIC(15, 0),
  ratio REAL,
  "float" FLOAT,
  "double" DOUBLE PRECISION,
  "when" DATE,
  "time" TIME,
  "timestamp" TIMESTAMP,
  "bit" BIT(1),
  payload BLOB,
  "bin" BINARY(8),
  "var" VARBINARY(16),
  "guid" UNIQUEIDENTIFIER,
  "doc" XMLTYPE,
  "dec" DECIMAL(10, 3)
);
COMMENT ON TABLE "class" IS '<main> & "x" class';
COMMENT ON COLUMN "class"."order" IS 'Order <b>"quoted"</b> & ''single''';
CREATE TABLE "select" (
  "class" INTEGER NOT NULL,
  "in" INTEGER NOT NULL,
  "from" VARCHAR(10),
  "import" INTEGER,
  PRIMARY KEY ("class", "in"),
  FOREIGN KEY ("class") REFERENCES "class" ("type")
);
CREATE TABLE "order" (
  id INTEGER NOT NULL PRIMARY KEY,
  "sel_class" INTEGER NOT NULL,
  "sel_in" INTEGER NOT NULL,
  "fn" VARCHAR(20),
  "package" VARCHAR(20),
  FOREIGN KEY ("sel_class", "sel_in") REFERENCES "select" ("class", "in")
);
CREATE TABLE a (b INTEGER PRIMARY KEY, c2 VARCHAR(5), a INTEGER);
CREATE TABLE "self" ("super" INTEGER PRIMARY KEY, "crate" VARCHAR(8), "none" INTEGER REFERENCES a (b));
CREATE TABLE "none" ("true" INTEGER PRIMARY KEY, "match" INTEGER, "await" TIMESTAMP, "yield" DATE);
