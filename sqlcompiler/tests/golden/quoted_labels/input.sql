CREATE TABLE REMARK /* Remark "kept" as written */ (
  PATH VARCHAR(80), /* Folder like C:\temp\ */
  KIND CHAR(1) /* Kind
     "=Quoted
     \=Backslash */
);
