/* Grammar of the SQL data-definition subset. Every action is one call into the model
   builder (Compilation); the moments of the actions matter, because some of them switch the
   scanner's mode before the next token is read. A reduction that needs no look-ahead is made
   without reading one. */

%require "3.0"
%define api.pure full
%define api.prefix {sqlyy}
%parse-param {morva::sql::Compilation& c} {void* scanner}
%lex-param {void* scanner}

%code requires {
#include <cstdint>
#include <string>
namespace morva::sql { class Compilation; }
}

%union {
    int32_t num;
    const std::string* text;
}

%code {
#include "sqlcompiler/compilation.h"

int sqlyylex(SQLYYSTYPE* value, void* scanner);
static void sqlyyerror(morva::sql::Compilation& c, void*, const char* message);

// The stack limit is the compilation's, so that tests can reach it with small scripts.
#define YYMAXDEPTH (static_cast<YYPTRDIFF_T>(c.parseStackLimit))
#define YYINITDEPTH 16
}

%token <text> IDENT STRING
%token <num> INTLIT
%token SKIP_CHAR SKIP_WORD
/* The keyword tokens; keyword_list.h gives each its spellings. KW_ADD stays first and
   KW_VARYING last: the keyword table checks that every token between them is spelled. */
%token KW_ADD KW_ALTER KW_AND KW_AS KW_ASC KW_BLOB KW_BY KW_CHARACTER KW_CHECK KW_COLLATE
%token KW_COMPUTED KW_CONSTRAINT KW_CREATE KW_DATE KW_DECIMAL KW_DEFAULT KW_DESC KW_DOMAIN
%token KW_DOUBLE KW_DROP KW_FLOAT KW_FOREIGN KW_IN KW_INDEX KW_INTEGER KW_IS KW_KEY KW_NCHAR
%token KW_NOT KW_NULL KW_NUMBER KW_NUMERIC KW_OR KW_PRECISION KW_PRIMARY KW_REFERENCES
%token KW_SEGMENT KW_SET KW_SIZE KW_SMALLINT KW_SUB_TYPE KW_TABLE KW_UNIQUE KW_VARCHAR
%token KW_VARCHAR2 KW_VARYING

%%

/* Left recursion keeps the stack flat however many items a script holds. The items are
   spelled out here rather than through a rule of their own: most of a script is skipped words
   and characters, and each then takes one reduction instead of three. */
script: %empty
      | script KW_CREATE create_body
      | script KW_ALTER alter_body
      | script SKIP_CHAR
      | script SKIP_WORD
      | script ';'
      | script '/'
      | script error
      ;

skip_token: SKIP_CHAR | SKIP_WORD | ';' | '/' ;

create_body: KW_TABLE table_name opt_external '(' table_elements ')'  { c.EndTable(); }
           | index_head KW_INDEX IDENT IDENT index_table '(' index_columns ')'  { c.EndIndex(); }
           | KW_DOMAIN domain_name opt_as data_type opt_attributes  { c.EndStatement(); }
           | IDENT  { c.EndStatement(); }
           ;

table_name: IDENT  { c.BeginTable(*$1); } ;

opt_external: %empty
            | IDENT STRING
            | IDENT IDENT STRING
            ;

table_elements: column_defs
              | column_defs ',' table_constraints
              ;

column_defs: column_def
           | column_defs ',' column_def
           ;

table_constraints: table_constraint
                 | table_constraints ',' table_constraint
                 ;

index_head: %empty
          | KW_UNIQUE
          | KW_UNIQUE order
          | order
          ;

order: KW_ASC | KW_DESC ;

index_table: IDENT  { c.FindCurrentTable(*$1); } ;

index_columns: key_column
             | index_columns ',' key_column
             ;

key_column: IDENT  { c.MarkKeyColumn(*$1); } ;

domain_name: IDENT  { c.BeginDomain(*$1); } ;

opt_as: %empty | KW_AS ;

column_def: column_name column_type opt_attributes ;

column_name: IDENT  { c.BeginColumn(*$1); } ;

column_type: data_type
           | KW_COMPUTED KW_BY '(' { c.StartComputed(); } computed_items ')'  { c.EndComputed(); }
           ;

computed_items: computed_item
              | computed_items computed_item
              ;

computed_item: IDENT  { c.ComputedIdent(*$1); }
             | SKIP_CHAR
             | SKIP_WORD
             ;

data_type: ident_type opt_size opt_array
         | simple_type opt_array
         | decimal_type opt_precision opt_array
         | char_type opt_size opt_array opt_charset
         | nchar_type opt_size opt_array
         | blob_type opt_subtype opt_segment opt_charset opt_blob_size
         ;

ident_type: IDENT  { c.SetIdentType(*$1); } ;

simple_type: KW_SMALLINT  { c.SetDataType("SMALLINT"); }
           | KW_INTEGER  { c.SetDataType("INTEGER"); }
           | KW_FLOAT  { c.SetDataType("FLOAT"); }
           | KW_DOUBLE KW_PRECISION  { c.SetDataType("DOUBLE"); }
           | KW_DATE  { c.SetDataType("DATE"); }
           ;

decimal_type: KW_DECIMAL  { c.SetDataType("DECIMAL"); }
            | KW_NUMERIC  { c.SetDataType("NUMERIC"); }
            | KW_NUMBER  { c.SetDataType("NUMBER"); }
            ;

char_type: KW_CHARACTER opt_varying  { c.SetDataType("CHAR"); }
         | KW_VARCHAR  { c.SetDataType("VARCHAR"); }
         | KW_VARCHAR2  { c.SetDataType("VARCHAR2"); }
         ;

nchar_type: KW_NCHAR opt_varying  { c.SetDataType("NCHAR"); } ;

blob_type: KW_BLOB  { c.SetDataType("BLOB"); } ;

opt_varying: %empty | KW_VARYING ;

opt_size: %empty
        | '(' INTLIT ')'  { c.SetSize($2); }
        | '(' INTLIT ',' INTLIT ')'  { c.SetSize($2); c.SetScale($4); }
        ;

opt_precision: %empty
             | '(' INTLIT ')'  { c.SetPrecision($2); }
             | '(' INTLIT ',' INTLIT ')'  { c.SetPrecision($2); c.SetScale($4); }
             ;

opt_blob_size: %empty
             | '(' INTLIT ')'
             | '(' INTLIT ',' INTLIT ')'  { c.SetScale($4); }
             ;

/* A dimension is [lower:upper] or a single upper bound. */
opt_array: %empty
         | '[' dimensions ']'
         ;

dimensions: dimension
          | dimensions ',' dimension
          ;

dimension: INTLIT
         | INTLIT ':' INTLIT
         ;

opt_charset: %empty
           | KW_CHARACTER KW_SET IDENT
           ;

opt_subtype: %empty
           | KW_SUB_TYPE IDENT
           | KW_SUB_TYPE INTLIT
           ;

opt_segment: %empty
           | KW_SEGMENT KW_SIZE INTLIT
           ;

opt_attributes: %empty
              | attributes
              ;

attributes: attribute
          | attributes attribute
          ;

attribute: KW_DEFAULT default_value
         | KW_NOT KW_NULL
         | KW_COLLATE IDENT
         | KW_CONSTRAINT IDENT column_constraint
         | column_constraint
         ;

/* Besides names, strings and NULL, a default may be a signed integer or decimal literal. */
default_value: number
             | '-' number
             | '+' number
             | IDENT
             | STRING
             | KW_NULL
             ;

number: INTLIT
      | INTLIT '.' INTLIT
      ;

column_constraint: KW_UNIQUE  { c.MarkColumnKey(); }
                 | KW_PRIMARY KW_KEY  { c.MarkColumnKey(); }
                 | check_clause
                 | KW_REFERENCES reference_master opt_master_columns  { c.EndColumnReference(); }
                 ;

check_clause: KW_CHECK '(' { c.StartCheck(); } check_items ')'  { c.EndCheck(); } ;

check_items: skip_token
           | check_items skip_token
           ;

reference_master: IDENT  { c.StartReference(*$1); } ;

opt_master_columns: %empty
                  | '(' master_columns ')'
                  ;

master_columns: master_column
              | master_columns ',' master_column
              ;

master_column: IDENT  { c.AddPendingMaster(*$1); } ;

table_constraint: constraint_body
                | KW_CONSTRAINT IDENT constraint_body
                ;

constraint_body: KW_UNIQUE '(' key_columns ')'
               | KW_PRIMARY KW_KEY '(' key_columns ')'
               | KW_FOREIGN KW_KEY { c.StartForeignKey(); } '(' local_columns ')'
                 KW_REFERENCES reference_master opt_master_columns  { c.EndForeignKey(); }
               | check_clause
               ;

key_columns: key_column
           | key_columns ',' key_column
           ;

local_columns: local_column
             | local_columns ',' local_column
             ;

local_column: IDENT  { c.AddPendingLocal(*$1); } ;

alter_body: KW_TABLE alter_table_name alter_actions
          | IDENT  { c.EndStatement(); }
          ;

alter_table_name: IDENT  { c.FindCurrentTable(*$1); } ;

alter_actions: alter_action
             | alter_actions ',' alter_action
             ;

alter_action: KW_ADD column_def
            | KW_ADD table_constraint
            | KW_DROP drop_names
            ;

drop_names: IDENT
          | drop_names IDENT
          ;

%%

static void sqlyyerror(morva::sql::Compilation& c, void*, const char* message) {
    // A full stack is the only error besides a syntax error that the parser reports.
    if (std::string(message) == "memory exhausted") {
        c.StackOverflow();
    } else {
        c.SyntaxError();
    }
}
