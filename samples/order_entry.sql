/* Order entry sample database: domains and tables.
   Comments written on a table's or a column's line become its label; further lines of a
   column comment become the column's lookup items. */

CREATE DOMAIN ID_TYPE AS INTEGER NOT NULL;
CREATE DOMAIN NAME_TYPE AS VARCHAR(40);
CREATE DOMAIN MONEY AS NUMERIC(12, 2) DEFAULT 0;
CREATE DOMAIN FLAG AS CHARACTER(1) DEFAULT 'N' CHECK (VALUE IN ('Y', 'N'));

CREATE TABLE COUNTRY /* Countries */ (
    COUNTRY_CODE CHAR(2) NOT NULL PRIMARY KEY, /* Country code */
    NAME NAME_TYPE NOT NULL /* Country name */
);

CREATE TABLE CUSTOMER /* Customers */ (
    CUST_NO ID_TYPE, /* Customer number */
    NAME NAME_TYPE NOT NULL, /* Customer name */
    STREET VARCHAR(60), /* Street */
    CITY VARCHAR(30), /* City */
    COUNTRY_CODE CHAR(2), /* Country */
    CUST_KIND CHAR(1) DEFAULT 'R', /* Kind of customer
                                      R=Retail
                                      W=Wholesale
                                      P=Public body */
    CREDIT_LIMIT MONEY, /* Credit limit */
    ON_HOLD FLAG, /* On hold */
    PRIMARY KEY (CUST_NO),
    FOREIGN KEY (COUNTRY_CODE) REFERENCES COUNTRY (COUNTRY_CODE)
);

CREATE TABLE EMPLOYEE /* Employees */ (
    EMP_NO ID_TYPE PRIMARY KEY, /* Employee number */
    FIRST_NAME VARCHAR(20) NOT NULL, /* First name */
    LAST_NAME VARCHAR(30) NOT NULL, /* Last name */
    PHONE_EXT VARCHAR(4), /* Extension */
    HIRE_DATE DATE, /* Hired on */
    FULL_NAME COMPUTED BY (LAST_NAME || ', ' || FIRST_NAME) /* Full name */
);

CREATE TABLE SUPPLIER /* Suppliers */ (
    SUPPLIER_NO ID_TYPE PRIMARY KEY, /* Supplier number */
    NAME NAME_TYPE NOT NULL, /* Supplier name */
    COUNTRY_CODE CHAR(2), /* Country */
    CONSTRAINT SUPPLIER_COUNTRY FOREIGN KEY (COUNTRY_CODE) REFERENCES COUNTRY (COUNTRY_CODE)
);

CREATE TABLE PRODUCT /* Products */ (
    PRODUCT_NO ID_TYPE PRIMARY KEY, /* Product number */
    NAME NAME_TYPE NOT NULL, /* Product name */
    SUPPLIER_NO INTEGER, /* Supplier */
    UNIT_PRICE MONEY, /* Unit price */
    UNIT CHAR(3) DEFAULT 'PCS', /* Unit
                                   PCS=Pieces
                                   KG=Kilogram
                                   M=Metre */
    IN_STOCK INTEGER DEFAULT 0, /* In stock */
    PICTURE BLOB SUB_TYPE 0 SEGMENT SIZE 80, /* Picture */
    FOREIGN KEY (SUPPLIER_NO) REFERENCES SUPPLIER (SUPPLIER_NO)
);

CREATE TABLE ORDERS /* Orders */ (
    ORDER_NO ID_TYPE PRIMARY KEY, /* Order number */
    CUST_NO INTEGER NOT NULL, /* Customer */
    EMP_NO INTEGER, /* Sales person */
    ORDER_DATE DATE NOT NULL, /* Ordered on */
    SHIP_DATE DATE, /* Shipped on */
    STATUS CHAR(1) DEFAULT 'O', /* Status
                                   O=Open
                                   S=Shipped
                                   C=Cancelled */
    NOTES VARCHAR(200), /* Notes */
    FOREIGN KEY (CUST_NO) REFERENCES CUSTOMER (CUST_NO),
    FOREIGN KEY (EMP_NO) REFERENCES EMPLOYEE (EMP_NO)
);

CREATE TABLE ORDER_LINE /* Order lines */ (
    ORDER_NO INTEGER NOT NULL, /* Order */
    LINE_NO SMALLINT NOT NULL, /* Line */
    PRODUCT_NO INTEGER NOT NULL, /* Product */
    QUANTITY INTEGER DEFAULT 1, /* Quantity */
    UNIT_PRICE MONEY, /* Unit price */
    DISCOUNT DECIMAL(5, 2) DEFAULT 0, /* Discount in percent */
    LINE_TOTAL COMPUTED BY (QUANTITY * UNIT_PRICE), /* Line total */
    PRIMARY KEY (ORDER_NO, LINE_NO),
    FOREIGN KEY (ORDER_NO) REFERENCES ORDERS (ORDER_NO),
    FOREIGN KEY (PRODUCT_NO) REFERENCES PRODUCT (PRODUCT_NO)
);

CREATE TABLE PAYMENT /* Payments */ (
    PAYMENT_NO ID_TYPE PRIMARY KEY, /* Payment number */
    ORDER_NO INTEGER NOT NULL, /* Order */
    PAID_ON DATE NOT NULL, /* Paid on */
    AMOUNT MONEY NOT NULL, /* Amount */
    METHOD CHAR(1) DEFAULT 'T', /* Method
                                   T=Transfer
                                   C=Card
                                   X=Cash */
    FOREIGN KEY (ORDER_NO) REFERENCES ORDERS (ORDER_NO)
);

/* Reference data, an index and a late column. Statements other than CREATE and ALTER
   (the inserts and the commit) are skipped when the database information is built. */

INSERT INTO COUNTRY VALUES ('DE', 'Germany');
INSERT INTO COUNTRY VALUES ('FR', 'France');
INSERT INTO COUNTRY VALUES ('GB', 'United Kingdom');
INSERT INTO COUNTRY VALUES ('US', 'United States');
COMMIT;

CREATE UNIQUE INDEX ORDER_LINE_KEY ON ORDER_LINE (ORDER_NO, LINE_NO);

ALTER TABLE CUSTOMER ADD EMAIL VARCHAR(80); /* E-mail address */
