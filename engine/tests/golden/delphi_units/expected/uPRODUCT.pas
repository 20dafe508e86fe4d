unit uPRODUCT;

{ Products -- generated from Shop, schema SALES (Sales schema) }

interface

uses Classes, DB;

type
  TPRODUCTRecord = record
    CODE    : String   ; { Product code, key }
    TITLE   : String   ; { Title }
    PRICE   : Float    ; { Unit price }
    CREATED : DateTime ; { Created, read-only }
  end;

const
  PRODUCTKeyFields = 'CODE';
  PRODUCTFieldCount = 4;

implementation

end.
