/* model_grammar.y - the grammar of model files.
 *
 * Only the tables generated from this file are used: parser_tables.cpp copies them into
 * the Vmod_ParserTables record that the host's parser driver reads, and parseAction
 * (parse_action.cpp) does the work of each production, by the names that
 * production_names.cmake gives them. The driver passes fixed production numbers: rule N
 * here is production N, nothing may be inserted or reordered, and outputstart is declared
 * between the VALUE and OUTPUTVALUES statements of a criteria block to take number 197.
 * Every statement list may hold empty statements, so the grammar is ambiguous; each
 * conflict is a shift/reduce conflict that bison resolves by reading the next statement.
 * %expect pins their number so that a new conflict fails the build. The tables hold the
 * line of each rule too: an edit above the rules keeps the number of lines.
 */

%define api.prefix {vmod_grammar_}
%define api.token.prefix {VMOD_TOKEN}
%define parse.trace
/* Default reductions only in states with nothing else to do: a syntax error is then found
   in the state where the offending token arrives, which names what was expected, and the
   start production is reduced only at the end of the file. */
%define lr.default-reduction consistent
%token-table
%expect 240

%code {
/* The generated parse routine is compiled but never called. */
static int vmod_grammar_lex(void);
static void vmod_grammar_error(const char *message);
}

/* Placeholders that keep the internal symbol numbers of the record's symbol-name table:
   no token number translates to them. */
%token LOCAL_DATA_TYPE 1001 LOCAL_DATA_VARIABLE 1002 ALLOC_LOCAL_DATA 1003
%token FREE_LOCAL_DATA 1004 LIBRARY_PREFIX 1005

%token NAME 258 STRING 259 FLOAT 260 INTEGER 261 NUMBER 262
%token ANNOTATION 263 ANNOTATIONNAME 264 AOI 265 AREA 266 ATHEMATIC 267 ATTRIBUTE 268
%token BILINEAR 269 BOLD 270 BUILTIN 271 _C64 272 _C128 273 CELLSIZE 274
%token CENTIMETERS 275 CHILD 276 CIRCLE 277 COLOR 278 COLORVALUE 279 COLUMNTITLES 280
%token COMPRESSION 281 COORDINATES 282 COVERAGE 283 COVERAGENAME 284 CRITERIA 285 CUBIC 286
%token _D64 287 DATATYPE 288 DECLARE 289 DEFAULT 290 DELETEFILE 291 EDGEDETECT 292
%token EDGEENHANCE 293 FEET 294 _F32 295 FEATURE 296 FIELDNAME 297 FILENAME 298
%token FONT 299 FUNCTION 300 HIGHPASS 301 HORIZONTAL 302 _ID 303 IGNORE 304
%token IMAGENAME 305 INCHES 306 INTERPOLATION 307 INTERSECTION 308 ITALICS 309 LANDSCAPE 310
%token LAYERNAME 311 LOWPASS 312 MAP 313 MARGINS 314 MASK 315 MATRIX 316
%token MAXIMUM 317 METERS 318 MINIMUM 319 NEAREST 320 NEWCLASSES 321 NEWFILE 322
%token NO 323 NONE 324 NORMAL 325 NORMALIZE 326 NUMCLASSES 327 OPTIMIZE 328
%token ORIENTATION 329 OUTPUT 330 OUTPUTVALUES 331 _PAGESIZE 332 PAGENUMBERS 333 PARENT 334
%token PIXEL 335 POLY 336 PORTRAIT 337 POSITION 338 PRINTERPAGESIZE 339 PRINTSCALE 340
%token PROJECTION 341 PROMPT 342 PROMPTLAYERFILE 343 RASTER 344 READ 345 RECODE 346
%token RECT 347 RECTANGLE 348 RLE 349 _S8 350 _S16 351 _S32 352
%token SAMEAS 353 SCALAR 354 SHOW 355 SIZE 356 SOBEL1 357 SOBEL2 358
%token SPECIFY 359 _STR 360 STYLE 361 SUMMARY 362 TABLE 363 TEMPFILE 364
%token TEXT 365 THEMATIC 366 TITLE 367 _U1 368 _U2 369 _U4 370
%token _U8 371 _U16 372 _U32 373 UNCOMPRESSED 374 UNDERLINED 375 UNION 376
%token VALUE 377 VARIABLENAME 378 VECTOR 379 VECTORTYPE 380 VERTICAL 381 VIEW 382
%token WINDOW 383 WRITE 384 YES 385
%token ';' ',' ':' '{' '}' '(' ')' '-'

%start guimodel

%%

guimodel: headerlist nodelist ;

headerlist: headerstmt | headerlist headerstmt ;

headerstmt: TITLE strval ';'
          | _PAGESIZE numval ',' numval pageunitword ';'
          | PRINTERPAGESIZE numval ',' numval ';'
          | MARGINS numval ',' numval ',' numval ',' numval ';'
          | OPTIMIZE yesno ';'
          | ORIENTATION orientword ';'
          | PRINTSCALE numval ';'
          | PAGENUMBERS ';'
          | CELLSIZE numval ',' numval cellunitword ';'
          | CELLSIZE MINIMUM ';'
          | CELLSIZE MAXIMUM ';'
          | WINDOW UNION ';'
          | WINDOW INTERSECTION ';'
          | WINDOW numval ',' numval ':' numval ',' numval coordword ';'
          | PROJECTION DEFAULT ';'
          | PROJECTION SAMEAS strval ';'
          | PROJECTION SPECIFY strval strval ';'
          | AOI NONE ';'
          | AOI DEFAULT ';'
          | AOI strval ';'
          ;

nodelist: %empty | nodeblock | nodelist nodeblock ;

nodeblock: rasterblock | vectorblock | matrixblock | tableblock
         | scalarblock | functionblock | criteriablock | textblock ;

rasterstart: %empty ;
rasterblock: RASTER '{' rasterstart rasterstmts '}' ;
vectorstart: %empty ;
vectorblock: VECTOR '{' vectorstart vectorstmts '}' ;
matrixstart: %empty ;
matrixblock: MATRIX '{' matrixstart matrixstmts '}' ;
tablestart: %empty ;
tableblock: TABLE '{' tablestart tablestmts '}' ;
scalarstart: %empty ;
scalarblock: SCALAR '{' scalarstart scalarstmts '}' ;
functionstart: %empty ;
functionblock: FUNCTION '{' functionstart functionstmts '}' ;
criteriastart: %empty ;
criteriablock: CRITERIA '{' criteriastart criteriastmts '}' ;
textstart: %empty ;
textblock: TEXT '{' textstart textstmts '}' ;

rasterstmts: rasterstmt | rasterstmts rasterstmt ;
vectorstmts: vectorstmt | vectorstmts vectorstmt ;
matrixstmts: matrixstmt | matrixstmts matrixstmt ;
tablestmts: tablestmt | tablestmts tablestmt ;
scalarstmts: scalarstmt | scalarstmts scalarstmt ;
functionstmts: functionstmt | functionstmts functionstmt ;
criteriastmts: criteriastmt | criteriastmts criteriastmt ;
textstmts: textstmt | textstmts textstmt ;

rasterstmt: %empty
          | _ID numval ';'
          | TITLE strval ';'
          | POSITION numval ',' numval ';'
          | FILENAME strval ';'
          | PROMPT ';'
          | PROMPT strval ';'
          | TEMPFILE ';'
          | NEWFILE ';'
          | IGNORE ';'
          | IGNORE numval ';'
          | DELETEFILE ';'
          | VIEW numval ',' numval ';'
          | INTERPOLATION interpword ';'
          | THEMATIC ';'
          | ATHEMATIC ';'
          | DATATYPE typeword ';'
          | DECLARE strval ';'
          | COMPRESSION compressword ';'
          | COORDINATES coordword ';'
          | AREA areaspec ';'
          | AOI NONE ';'
          | AOI DEFAULT ';'
          | AOI strval ';'
          | RECODE yesno ';'
          | NUMCLASSES numval ';'
          | NEWCLASSES rasterclasses ';'
          | PARENT numval ';'
          | CHILD childids ';'
          ;

vectorstmt: %empty
          | _ID numval ';'
          | TITLE strval ';'
          | POSITION numval ',' numval ';'
          | VECTORTYPE vectorkind ';'
          | FILENAME strval ';'
          | PROMPT ';'
          | PROMPT strval ';'
          | FEATURE strval ';'
          | TEMPFILE ';'
          | CELLSIZE numval ',' numval cellunitword ';'
          | DECLARE strval ';'
          | WINDOW numval ',' numval ':' numval ',' numval ';'
          | AOI NONE ';'
          | AOI DEFAULT ';'
          | AOI strval ';'
          | ATTRIBUTE strval ';'
          | RECODE yesno ';'
          | NUMCLASSES numval ';'
          | NEWCLASSES vectorclasses ';'
          | PARENT numval ';'
          | CHILD childids ';'
          ;

matrixstmt: %empty
          | _ID numval ';'
          | TITLE strval ';'
          | POSITION numval ',' numval ';'
          | SIZE numval ',' numval ';'
          | DATATYPE typeword ';'
          | OUTPUT ';'
          | BUILTIN kernelword ';'
          | VALUE matrixlist ';'
          | NORMALIZE yesno ';'
          | READ ';'
          | READ strval ';'
          | WRITE ';'
          | WRITE strval ';'
          | PROMPT ';'
          | PROMPT strval ';'
          | SHOW ';'
          | PARENT numval ';'
          | CHILD childids ';'
          ;

tablestmt: %empty
         | _ID numval ';'
         | TITLE strval ';'
         | POSITION numval ',' numval ';'
         | SIZE numval ';'
         | DATATYPE tabletypeword ';'
         | IMAGENAME ';'
         | IMAGENAME strval ';'
         | VARIABLENAME strval ';'
         | COVERAGENAME ';'
         | COVERAGENAME strval ';'
         | ANNOTATIONNAME ';'
         | ANNOTATIONNAME strval ';'
         | PROMPTLAYERFILE ';'
         | PROMPTLAYERFILE strval ';'
         | LAYERNAME strval ';'
         | FIELDNAME strval ';'
         | VALUE numberlist ';'
         | VALUE stringlist ';'
         | COLORVALUE '(' colorlist ')' ';'
         | OUTPUT ';'
         | READ ';'
         | READ strval ';'
         | WRITE ';'
         | WRITE strval ';'
         | PROMPT ';'
         | PROMPT strval ';'
         | SHOW ';'
         | PARENT numval ';'
         | CHILD childids ';'
         ;

scalarstmt: %empty
          | _ID numval ';'
          | TITLE strval ';'
          | POSITION numval ',' numval ';'
          | DATATYPE typeword ';'
          | VALUE numval ';'
          | READ ';'
          | READ strval ';'
          | WRITE ';'
          | WRITE strval ';'
          | PROMPT ';'
          | PROMPT strval ';'
          | SHOW ';'
          | PARENT numval ';'
          | CHILD childids ';'
          ;

functionstmt: %empty
            | _ID numval ';'
            | TITLE strval ';'
            | POSITION numval ',' numval ';'
            | VALUE strval ';'
            | AREA areamode ';'
            | parentstmt ';'
            | CHILD numval ';'
            ;

criteriastmt: %empty
            | _ID numval ';'
            | TITLE strval ';'
            | POSITION numval ',' numval ';'
            | SIZE numval ',' numval ';'
            | COLUMNTITLES titlelist ';'
            | VALUE celllist ';'
            ;

outputstart: %empty ;

criteriastmt: OUTPUTVALUES outputstart outputlist ';'
            | DEFAULT numval ';'
            | parentstmt ';'
            | CHILD numval ';'
            ;

textstmt: %empty
        | _ID numval ';'
        | TITLE strval ';'
        | POSITION numval ',' numval ';'
        | FONT strval ';'
        | SIZE numval ';'
        | STYLE styleword ';'
        ;

interpword: NEAREST | BILINEAR | CUBIC ;
typeword: _U1 | _U2 | _U4 | _U8 | _S8 | _U16 | _S16 | _U32 | _S32 | _F32 | _D64 | _C64 | _C128 | _STR ;
tabletypeword: _U1 | _S32 | _D64 | _STR | COLOR ;
vectorkind: COVERAGE | ANNOTATION ;
compressword: UNCOMPRESSED | RLE ;
coordword: MAP | PIXEL ;
areaspec: RECT numval ',' numval ':' numval ',' numval
        | POLY numval ':' polypoints
        | MASK strval
        ;
yesno: YES | NO ;
rasterclasses: numval | rasterclasses ',' numval ;
vectorclasses: numval | vectorclasses ',' numval ;
matrixlist: numval | matrixlist ',' numval ;
numberlist: numval | numberlist ',' numval ;
stringlist: strval | stringlist ',' strval ;
colorlist: '(' numval ',' numval ',' numval ',' numval ')'
         | colorlist ',' '(' numval ',' numval ',' numval ',' numval ')'
         ;
titlelist: strval | titlelist ',' strval ;
celllist: strval | celllist ',' strval ;
outputlist: numval | outputlist ',' numval ;
parentstmt: PARENT parentids ;
childids: numval | childids ',' numval ;
kernelword: LOWPASS | HIGHPASS | EDGEDETECT | EDGEENHANCE | HORIZONTAL | VERTICAL | SOBEL1 | SOBEL2 | SUMMARY ;
parentids: numval | parentids ',' numval ;
areamode: UNION | INTERSECTION ;
styleword: NORMAL | BOLD | ITALICS | UNDERLINED ;
polypoints: pointpair | polypoints ':' pointpair ;
pointpair: numval ',' numval ;
pageunitword: %empty | INCHES | CENTIMETERS ;
orientword: %empty | PORTRAIT | LANDSCAPE ;
cellunitword: %empty | METERS | FEET ;
strval: NAME | STRING ;
numval: FLOAT | '-' FLOAT | INTEGER | '-' INTEGER ;

%%

static int vmod_grammar_lex(void) { return VMOD_TOKENYYEOF; }
static void vmod_grammar_error(const char *message) { (void)message; }
