unit uORDERS;

{ Orders -- generated from Shop, schema SALES (Sales schema) }

interface

uses Classes, DB;

type
  TORDERSRecord = record
    ORDER_ID: Integer  ; { Order, key }
    CUST_ID : Integer  ; { Customer }
    STATUS  : String   ; { Status, read-only }
    TOTAL   : Integer  ; { Total }
  end;

const
  ORDERSKeyFields = 'ORDER_ID';
  ORDERSFieldCount = 4;
  { reference to Customer: CUST_ID -> Customer.ID }
  { CUST_ID shows Customer.NAME (Customer name) by ID }
  ORDERSSTATUSItems: array[0..2] of string = ('New', 'Shipped', 'Closed');

implementation

end.
