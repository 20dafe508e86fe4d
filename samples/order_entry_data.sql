/* Order entry sample database: reference data, an index and a late column.
   Statements other than CREATE and ALTER (the inserts and the commit) are skipped when the
   database information is built. */

INSERT INTO COUNTRY VALUES ('DE', 'Germany');
INSERT INTO COUNTRY VALUES ('FR', 'France');
INSERT INTO COUNTRY VALUES ('GB', 'United Kingdom');
INSERT INTO COUNTRY VALUES ('US', 'United States');
COMMIT;

CREATE UNIQUE INDEX ORDER_LINE_KEY ON ORDER_LINE (ORDER_NO, LINE_NO);

ALTER TABLE CUSTOMER ADD EMAIL VARCHAR(80); /* E-mail address */
