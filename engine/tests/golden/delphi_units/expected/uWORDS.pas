unit uWORDS;

{  -- generated from Shop, schema SALES (Sales schema) }

interface

uses Classes, DB;

type
  TWORDSRecord = record
    WORD    : String   ; { Word, key }
  end;

const
  WORDSKeyFields = 'WORD';
  WORDSFieldCount = 1;

implementation

end.
