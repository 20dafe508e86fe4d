CREATE TABLE book_author (
  authorid      INTEGER,  -- 'AuthorId'
  class         VARCHAR,  -- '<main> "Class"'
  address_line2 CHAR,  -- 'Tom''s address'
  "2fa"         NUMERIC,  -- 'Two\factor'
  x             DECIMAL  -- 'x'
);
CREATE TABLE "order" (
  type          BIGINT,  -- 'type'
  self          TIMESTAMP,  -- 'self'
  authorid      INTEGER  -- 'AuthorId'
);
