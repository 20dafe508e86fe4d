%{
// The template grammar. Every action is one call into the code emitter or a message reporter;
// after each the parser stops when a fatal error has been reported.
#include "engine/script/emitter.h"
#include "engine/script/messages.h"
#include "engine/script/tags.h"
#include "engine/script/token.h"

using namespace morva::tpx;

#define YYMAXDEPTH 8192
#define EM (ctx->emitter)
#define CALL(action)                      \
    do {                                  \
        action;                           \
        if (EM->Stopped()) YYABORT;       \
    } while (0)
// The parser pulls its tokens. A token source that finds the compilation stopped ends the parse
// at once, before any further action or message: a statement expression, to reach YYABORT.
#define tpxp_lex(value, context)                                             \
    ({                                                                       \
        int token_ = tpxp_next_token(value, context, yyerrstatus != 0);      \
        if (token_ < 0) YYABORT;                                             \
        token_;                                                              \
    })
%}

%code requires {
#include "engine/script/token.h"
}

%code provides {
void tpxp_error(morva::tpx::ScanContext* ctx, const char* message);
/// The parser's token source: the next token into `value`, or -1 when the compilation has
/// stopped. `recovering` is true while the parser recovers from a syntax error.
int tpxp_next_token(morva::tpx::TokenValue* value, morva::tpx::ScanContext* ctx, bool recovering);
}

%define api.prefix {tpxp_}
%define api.pure full
%define api.value.type {morva::tpx::TokenValue}
%param {morva::tpx::ScanContext* ctx}

%token SYMBOL 257 CHAR 258 TEXT 259 NUMBER 260
%token T_TEXT 261 T_ENDTEXT 262 T_TABLES 263 T_ENDTABLES 264 T_CREATE 265 T_ENDCREATE 266
%token T_IF 267 T_ENDIF 268 T_THEN 269 T_ELSE 270 T_ELSEIF 271
%token T_COLUMNS 272 T_ENDCOLUMNS 273 T_EXPR 274 T_ENDEXPR 275
%token T_T 276 T_C 277 T_L 278 T_D 279 T_SIZE 280 T_ISKEY 281 T_P 282 T_SCALE 283
%token T_VAR 284 T_ENDVAR 285 T_DATABASE 286 T_ROOMNAME 287 T_TCOUNT 288 T_COUNT 289
%token T_KEYCOUNT 290 T_MAXNAMELEN 291 T_MAXLABELLEN 292 T_MAXSIZELEN 293
%token T_LEFT 294 T_RIGHT 295 T_CENTER 296 T_NORMAL 297
%token T_IN 298 ASSIGN 299 LPAREN 300 RPAREN 301
%token EQ 302 NE 303 GT 304 GE 305 LT 306 LE 307 OR 308 AND 309
%token PLUS 310 MINUS 311 MUL 312 DIV 313 MOD 314 UMINUS 315
%token T_CLOSE 316 T_CLOSEASDFM 317 T_TTYPE 318 T_TL 319 T_TYPE 320 T_ROOMTYPE 321 T_ROOMLABEL 322
%token T_REFTABLES 323 T_ENDREFTABLES 324 T_REFCOLUMNS 325 T_ENDREFCOLUMNS 326
%token T_REFC 327 T_REFT 328 T_FOREIGNKEY 329 T_ISNOTKEY 330
%token EOS 331 INC 332 DEC 333 PLUSEQ 334 MINUSEQ 335 MULEQ 336 DIVEQ 337 MODEQ 338
%token T_TKEYCOUNT 339 T_S 340 T_STYPE 341 T_SL 342 T_ISPROCESSED 343 T_ISNOTPROCESSED 344
%token T_EL 345 T_ENDEL 346 T_ELC 347 T_ENDELC 348 T_ELT 349 T_ENDELT 350
%token T_ELR 351 T_ENDELR 352 T_ELRC 353 T_ENDELRC 354 T_ELRT 355 T_ENDELRT 356
%token T_ELLI 357 T_ENDELLI 358
%token T_ISLOOKUP 359 T_ISNOTLOOKUP 360 T_ISLOOKUPBYITEMS 361 T_ISLOOKUPBYTABLE 362
%token T_LOOKUPC 363 T_LOOKUPITEM 364 T_LOOKUPITEMS 365 T_ENDLOOKUPITEMS 366
%token T_LOOKUPKEY 367 T_LOOKUPL 368 T_LOOKUPT 369 T_ISREADONLY 370 T_ISNOTREADONLY 371
%token T_DASDELPHI 372 T_TYPEMAP1 373 T_TYPEMAP2 374 T_NOTIN 375
%token T_SIZEOFT 376 T_SIZEOFTL 377 T_SIZEOFC 378 T_SIZEOFL 379 T_SIZEOFD 380
%token T_DISPSIZE 381 T_ISFOREIGNKEY 382 T_ISNOTFOREIGNKEY 383
%token RUN 384
%token T_PASCAL 385 T_CAMEL 386 T_SNAKE 387 T_KEBAB 388 T_UPPER 389 T_LOWER 390 T_ASIS 391
%token T_ESCHTML 392 T_ESCSTR 393 T_ESCSQL 394 T_NOESC 395
%token T_SAFECPP 396 T_SAFECS 397 T_SAFEJAVA 398 T_SAFETS 399 T_SAFEGO 400 T_SAFEPY 401
%token T_SAFERUST 402 T_SAFESQL 403 T_NOSAFE 404
%token T_DASCPP 405 T_DASCS 406 T_DASJAVA 407 T_DASTS 408 T_DASGO 409 T_DASPY 410 T_DASRUST 411

%precedence '=' PLUSEQ MINUSEQ MULEQ DIVEQ MODEQ
%left OR AND
%left EQ NE
%left GT LT
%left GE
%left LE
%left PLUS MINUS
%left MUL DIV MOD

%%

script
    : prologue
    | prologue T_TEXT { CALL(EM->BeginBody()); } body end_of_body prologue
    ;

/* Text outside the body; runs are left-recursive so that they take constant stack. A run of
   body text comes here when a missing </TEXT> ended the body but not the scanner's body state. */
prologue
    : %empty
    | prologue TEXT
    | prologue CHAR
    | prologue RUN
    ;

end_of_body
    : T_ENDTEXT
    | error { CALL(yySyntax(0)); }
    ;

/* A body spells out what an item can be instead of going through `item`: nearly every token
   of a script is body text or a tag in a body, and each then takes two reductions fewer. */
body
    : %empty
    | body RUN { CALL(EM->EmitRun(ctx->TextOf($2))); }
    | body CHAR { CALL(EM->EmitChar($2.number)); }
    | body TEXT { CALL(EM->EmitText(ctx->TextOf($2))); }
    | body string_tag { CALL(EM->EmitTag($2.number, $2.place)); }
    | body padding { CALL(EM->EmitTag($2.number, $2.place)); }
    | body write_mode { CALL(EM->EmitTag($2.number, $2.place)); }
    | body number_value
    | body statement
    ;

items
    : %empty
    | items item
    ;

item
    : RUN { CALL(EM->EmitRun(ctx->TextOf($1))); }
    | CHAR { CALL(EM->EmitChar($1.number)); }
    | padding { CALL(EM->EmitTag($1.number, $1.place)); }
    | write_mode { CALL(EM->EmitTag($1.number, $1.place)); }
    | text_value
    | number_value
    ;

padding: T_LEFT | T_RIGHT | T_CENTER | T_NORMAL ;

/* How the values that follow are written: letter case, escaping, reserved words. */
write_mode
    : T_PASCAL | T_CAMEL | T_SNAKE | T_KEBAB | T_UPPER | T_LOWER | T_ASIS
    | T_ESCHTML | T_ESCSTR | T_ESCSQL | T_NOESC
    | T_SAFECPP | T_SAFECS | T_SAFEJAVA | T_SAFETS | T_SAFEGO | T_SAFEPY | T_SAFERUST | T_SAFESQL
    | T_NOSAFE
    ;

text_value
    : TEXT { CALL(EM->EmitText(ctx->TextOf($1))); }
    | string_tag { CALL(EM->EmitTag($1.number, $1.place)); }
    ;

string_tag
    : T_DATABASE | T_T | T_TTYPE | T_TL | T_C | T_TYPE | T_L | T_D | T_DASDELPHI | T_REFC
    | T_REFT | T_FOREIGNKEY | T_S | T_STYPE | T_SL | T_LOOKUPITEM | T_LOOKUPT | T_LOOKUPC
    | T_LOOKUPL | T_LOOKUPKEY | T_DASCPP | T_DASCS | T_DASJAVA | T_DASTS | T_DASGO | T_DASPY
    | T_DASRUST
    ;

number_value
    : SYMBOL { CALL(EM->EmitSymbol($1.number)); }
    | NUMBER { CALL(EM->EmitNumber($1.number)); }
    | numeric_tag { CALL(EM->EmitTag($1.number, $1.place)); }
    ;

numeric_tag
    : T_SIZE | T_DISPSIZE | T_ISKEY | T_P | T_SCALE | T_COUNT | T_KEYCOUNT | T_TKEYCOUNT
    | T_TCOUNT | T_MAXNAMELEN | T_MAXLABELLEN | T_MAXSIZELEN | T_ISNOTKEY | T_ISPROCESSED
    | T_ISNOTPROCESSED | T_ISLOOKUP | T_ISNOTLOOKUP | T_ISLOOKUPBYITEMS | T_ISLOOKUPBYTABLE
    | T_ISREADONLY | T_ISNOTREADONLY | T_ISFOREIGNKEY | T_ISNOTFOREIGNKEY | T_SIZEOFT
    | T_SIZEOFTL | T_SIZEOFC | T_SIZEOFL | T_SIZEOFD
    ;

statement
    : T_CREATE { CALL(EM->EmitTag(tag::CREATE, $1.place)); } items close_create
    | T_CLOSE { CALL(EM->EmitTag(tag::CLOSE, $1.place)); }
    | T_CLOSEASDFM { CALL(EM->EmitTag(tag::CLOSEASDFM, $1.place)); }
    | T_VAR { CALL(EM->BeginVar()); } names close_var
    | T_TABLES { CALL(EM->EmitTag(tag::TABLES, $1.place)); } body close_tables
    | T_COLUMNS { CALL(EM->EmitTag(tag::COLUMNS, $1.place)); } body close_columns
    | T_REFTABLES { CALL(EM->EmitTag(tag::REFTABLES, $1.place)); } body close_reftables
    | T_REFCOLUMNS { CALL(EM->EmitTag(tag::REFCOLUMNS, $1.place)); } body close_refcolumns
    | T_LOOKUPITEMS { CALL(EM->EmitTag(tag::LOOKUPITEMS, $1.place)); } body close_lookupitems
    | T_EL { CALL(EM->EmitTag(tag::EL, $1.place)); } body close_el
    | T_ELC { CALL(EM->EmitTag(tag::ELC, $1.place)); } body close_elc
    | T_ELT { CALL(EM->EmitTag(tag::ELT, $1.place)); } body close_elt
    | T_ELR { CALL(EM->EmitTag(tag::ELR, $1.place)); } body close_elr
    | T_ELRC { CALL(EM->EmitTag(tag::ELRC, $1.place)); } body close_elrc
    | T_ELRT { CALL(EM->EmitTag(tag::ELRT, $1.place)); } body close_elrt
    | T_ELLI { CALL(EM->EmitTag(tag::ELLI, $1.place)); } body close_elli
    | if_open condition then_tag body else_part close_if
    | if_open error { CALL(yySyntax(26)); }
    | T_EXPR { CALL(EM->BeginExpr()); } expr_statements close_expr
    ;

close_create
    : T_ENDCREATE { CALL(EM->EmitTag(tag::ENDCREATE, $1.place)); }
    | error { CALL(yySyntax(1)); }
    ;

names
    : SYMBOL
    | names ',' SYMBOL
    ;

close_var
    : T_ENDVAR { CALL(EM->EndVar()); }
    | error { CALL(yySyntax(3)); }
    ;

/* Loops and separator blocks: the opening tag's code before the body, the closing tag's after. */
close_tables
    : T_ENDTABLES { CALL(EM->EmitTag(tag::ENDTABLES, $1.place)); }
    | error { CALL(yySyntax(4)); }
    ;

close_columns
    : T_ENDCOLUMNS { CALL(EM->EmitTag(tag::ENDCOLUMNS, $1.place)); }
    | error { CALL(yySyntax(2)); }
    ;

close_reftables
    : T_ENDREFTABLES { CALL(EM->EmitTag(tag::ENDREFTABLES, $1.place)); }
    | error { CALL(yySyntax(12)); }
    ;

close_refcolumns
    : T_ENDREFCOLUMNS { CALL(EM->EmitTag(tag::ENDREFCOLUMNS, $1.place)); }
    | error { CALL(yySyntax(13)); }
    ;

close_lookupitems
    : T_ENDLOOKUPITEMS { CALL(EM->EmitTag(tag::ENDLOOKUPITEMS, $1.place)); }
    | error { CALL(yySyntax(21)); }
    ;

close_el
    : T_ENDEL { CALL(EM->EmitTag(tag::ENDEL, $1.place)); }
    | error { CALL(yySyntax(15)); }
    ;

close_elc
    : T_ENDELC { CALL(EM->EmitTag(tag::ENDELC, $1.place)); }
    | error { CALL(yySyntax(16)); }
    ;

close_elt
    : T_ENDELT { CALL(EM->EmitTag(tag::ENDELT, $1.place)); }
    | error { CALL(yySyntax(17)); }
    ;

close_elr
    : T_ENDELR { CALL(EM->EmitTag(tag::ENDELR, $1.place)); }
    | error { CALL(yySyntax(18)); }
    ;

close_elrc
    : T_ENDELRC { CALL(EM->EmitTag(tag::ENDELRC, $1.place)); }
    | error { CALL(yySyntax(19)); }
    ;

close_elrt
    : T_ENDELRT { CALL(EM->EmitTag(tag::ENDELRT, $1.place)); }
    | error { CALL(yySyntax(20)); }
    ;

close_elli
    : T_ENDELLI { CALL(EM->EmitTag(tag::ENDELLI, $1.place)); }
    | error { CALL(yySyntax(23)); }
    ;

if_open
    : T_IF { CALL(EM->BeginIf()); }
    ;

then_tag
    : T_THEN { CALL(EM->Then()); }
    | error { CALL(yySyntax(5)); }
    ;

else_part
    : %empty
    | T_ELSE { CALL(EM->Else()); } body
    | elseif_open condition then_tag body else_part
    ;

elseif_open
    : T_ELSEIF { CALL(EM->ElseIf()); }
    ;

close_if
    : T_ENDIF { CALL(EM->EndIf()); }
    | error { CALL(yySyntax(6)); }
    ;

condition
    : text_value
    | number_value
    | LPAREN condition close_paren
    | condition OR condition { CALL(EM->EmitOperator($2.number)); }
    | condition AND condition { CALL(EM->EmitOperator($2.number)); }
    | condition EQ condition { CALL(EM->EmitOperator($2.number)); }
    | condition NE condition { CALL(EM->EmitOperator($2.number)); }
    | condition GT condition { CALL(EM->EmitOperator($2.number)); }
    | condition LT condition { CALL(EM->EmitOperator($2.number)); }
    | condition GE condition { CALL(EM->EmitOperator($2.number)); }
    | condition LE condition { CALL(EM->EmitOperator($2.number)); }
    | string_tag T_IN TEXT { CALL(EM->EmitContains($1.number, ctx->TextOf($3), $2.number)); }
    | string_tag T_NOTIN TEXT { CALL(EM->EmitContains($1.number, ctx->TextOf($3), $2.number)); }
    ;

close_paren
    : RPAREN
    | error { CALL(yySyntax(9)); }
    ;

expr_statements
    : expr_statement
    | expr_statements expr_statement
    ;

expr_statement
    : expression ';' { CALL(EM->EmitOperator(EOS)); }
    | expression error { CALL(yySyntax(11)); }
    | error ';' { CALL(yySyntax(27)); }
    ;

close_expr
    : T_ENDEXPR { CALL(EM->EndExpr()); }
    | error { CALL(yySyntax(7)); }
    ;

expression
    : number_value
    | MINUS expression %prec MINUS { CALL(EM->EmitOperator(UMINUS)); }
    | LPAREN expression close_paren
    | SYMBOL INC { CALL(EM->EmitUpdate($1.number, $2.number)); }
    | SYMBOL DEC { CALL(EM->EmitUpdate($1.number, $2.number)); }
    | SYMBOL '=' { CALL(EM->EmitSymbol($1.number)); } expression { CALL(EM->EmitOperator(ASSIGN)); }
    | SYMBOL PLUSEQ { CALL(EM->EmitSymbol($1.number)); } expression { CALL(EM->EmitOperator($2.number)); }
    | SYMBOL MINUSEQ { CALL(EM->EmitSymbol($1.number)); } expression { CALL(EM->EmitOperator($2.number)); }
    | SYMBOL MULEQ { CALL(EM->EmitSymbol($1.number)); } expression { CALL(EM->EmitOperator($2.number)); }
    | SYMBOL DIVEQ { CALL(EM->EmitSymbol($1.number)); } expression { CALL(EM->EmitOperator($2.number)); }
    | SYMBOL MODEQ { CALL(EM->EmitSymbol($1.number)); } expression { CALL(EM->EmitOperator($2.number)); }
    | expression PLUS expression { CALL(EM->EmitOperator($2.number)); }
    | expression MINUS expression { CALL(EM->EmitOperator($2.number)); }
    | expression MUL expression { CALL(EM->EmitOperator($2.number)); }
    | expression DIV expression { CALL(EM->EmitOperator($2.number)); }
    | expression MOD expression { CALL(EM->EmitOperator($2.number)); }
    ;

%%

void tpxp_error(ScanContext*, const char* message) { yyParserError(message); }

// The token numbers above are the codes of the vocabulary list: the scanner hands a tag's code
// over as its token.
#define MORVA_TOKEN(name, parserToken, dumpName, code) \
    static_assert(static_cast<int32_t>(parserToken) == k##name);
#define MORVA_RESERVED(name, dumpName, code) static_assert(static_cast<int32_t>(T_##name) == tag::name);
#define MORVA_TAG(name, spelling, code, role) static_assert(static_cast<int32_t>(T_##name) == tag::name);
#include "engine/script/tag_list.h"
