unit uLINE;

{ Order lines -- generated from Shop, schema SALES (Sales schema) }

interface

uses Classes, DB;

type
  TLINERecord = record
    ORDER_ID: Integer  ; { Order, key }
    LINE_NO : Smallint ; { Line, key }
    CUST_ID : Integer  ; { Customer }
    QTY     : Float    ; { Quantity }
    PRODUCT : String   ; { Product }
  end;

const
  LINEKeyFields = 'ORDER_ID;LINE_NO';
  LINEFieldCount = 5;
  { reference to Orders: ORDER_ID -> Orders.ORDER_ID, CUST_ID -> Orders.CUST_ID }
  { reference to Customer: CUST_ID -> Customer.ID }
  { reference to Product: PRODUCT -> Product.CODE }
  { PRODUCT shows Product.TITLE (Title) by CODE }

implementation

end.
