unit uCUSTOMER;

{ Customers -- generated from Shop, schema SALES (Sales schema) }

interface

uses Classes, DB;

type
  TCUSTOMERRecord = record
    ID      : Integer  ; { Id, key }
    NAME    : String   ; { Customer name }
    CITY    : String   ; { CITY }
    BALANCE : Float    ; { Balance, read-only }
  end;

const
  CUSTOMERKeyFields = 'ID';
  CUSTOMERFieldCount = 4;

implementation

end.
