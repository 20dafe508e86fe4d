CREATE TABLE PERSON /* People we know */ (
  ID INTEGER NOT NULL, /* Identifier */
  STATUS CHAR(1), /* Status
     A=Active
     I=Inactive */
  NOTE VARCHAR(80),
  /* A comment on its own line belongs to nothing */
  EMPTY_ONE INTEGER, /**/
  BLANK_FIRST INTEGER, /*
     1=One
     2=Two */
  LAST_ONE INTEGER
  ); /* Last column */
CREATE TABLE
  LATER /* on the line of the name */ (X INTEGER);
CREATE TABLE CLOSING (A INTEGER,
  B INTEGER); /* Label of B */
