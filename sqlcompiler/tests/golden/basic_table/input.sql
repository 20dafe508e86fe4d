/* Keywords in any letter case; names stored in upper case, labels as written. */
create table Customer (
  Id INTEGER NOT NULL PRIMARY KEY,
  Name VARCHAR(20) DEFAULT 'x',
  Balance NUMERIC(12,2) DEFAULT 0
);
Create Table ORDERS (ID integer, CUSTOMER_ID Integer);
CREATE TABLE Customer (Id INTEGER);
